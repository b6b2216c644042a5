#include "ui/extras/ad_decision.h"

namespace horalia {

AdDecision DecideAdvertisement(std::int32_t adMode, const std::string& adShownDate,
                               const Moment& today) {
    AdDecision decision;
    if (adMode == 0) {
        decision.load = true;
    } else if (adMode == 1) {
        const std::string todayText = FormatDateFields(today);
        if (todayText != adShownDate) {
            decision.load = true;
            decision.dateToRecord = todayText;
        }
    }
    return decision;
}

}  // namespace horalia
