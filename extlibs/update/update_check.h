// One update check: fetch the update text, and offer the download page when it names a newer
// version. The platform supplies the network, the question and the browser.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horalia::update {

class UpdatePorts {
  public:
    virtual ~UpdatePorts() = default;
    // The body of a successful response, at most kMaxUpdateTextSize + 1 bytes (the one byte too
    // many tells the parser the text was cut); nothing on any network or HTTP failure.
    virtual std::optional<std::string> Fetch(const std::string& url) = 0;
    // Asks the user whether to open the download page of `version`; true for yes.
    virtual bool AskToOpen(const std::string& version) = 0;
    virtual void OpenPage(const std::string& url) = 0;
};

// Runs the whole check on the calling thread. Every failure is silent.
void CheckForUpdate(std::string_view updateUrl, UpdatePorts& ports);

// At most one check runs at a time in the process. The flag is a plain atomic, so a check still
// running while the process exits touches nothing that static destruction has torn down.
bool TryBeginCheck();
void EndCheck();

}  // namespace horalia::update
