#include "CTerminalUserInterface.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "COutcomeReport.hpp"

namespace sulvan::cli {
namespace {

// Progress is a line rewritten in place while a file is under way, and only on a terminal.
TEST(CTerminalUserInterface, ShowsProgressOnlyOnATerminalAndClearsItForWhatFollows) {
    struct SCase {
        STerminals terminals;
        bool bQuiet;
        const char* pShown;
    };
    const SCase cases[] = {
        {{false, true},
         false,
         "\rconverting  37%\rconverting  38%\r\033[Kmessage\n\n\rconverting  99%\r\033[K"},
        {{false, false}, false, "message\n\n"},
        {{true, true}, true, ""},
    };
    for (const SCase& c : cases) {
        std::ostringstream err;
        std::istringstream in;
        std::ostringstream out;
        COutcomeReport report(out, err, false, c.bQuiet);
        CTerminalUserInterface ui(err, in, EAnswerPolicy::No, c.terminals, c.bQuiet, report);
        for (const int nPercent : {0, 37, 38}) {
            ui.SetProgress(nPercent);
        }
        ui.ShowMessage("message");
        ui.SetProgress(99);
        ui.SetProgress(100);
        EXPECT_EQ(err.str(), c.pShown);
    }
}

}  // namespace
}  // namespace sulvan::cli
