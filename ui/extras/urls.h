// The program's web addresses, all on the reserved example domain.
#pragma once

namespace horalia {

inline constexpr char kAdvertisementUrl[] = "http://www.example.com/softs/tolvex/ad.html";
inline constexpr char kSponsorUrl[] = "http://www.example.org/?ref=horalia-3000";
inline constexpr char kUpdateUrl[] = "http://www.example.com/softs/tolvex/update.txt";
inline constexpr char kVendorSiteUrl[] = "http://www.example.com/#soft_21";
inline constexpr char kVendorMailAddress[] = "feedback@example.com";

}  // namespace horalia
