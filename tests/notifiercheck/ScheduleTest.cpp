// When a check is due: the schedule table, calendar boundaries, odd stored dates, and the
// confirmation box with the settings read from the store.
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/UpdateSchedule.h"
#include "tests/ini/TempFolder.h"
#include "tests/notifiercheck/BoxRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

using namespace heraldex;
using heraldex::test::Box;
using heraldex::test::BoxRecorder;

const TDateTime kToday = EncodeDate(2026, 3, 1);

struct DueCase {
    const char* Name;
    int32_t UpdateType;
    TDateTime LastCheck;
    bool Due;
};

std::ostream& operator<<(std::ostream& os, const DueCase& c) {
    return os << c.Name;
}

class Schedule : public ::testing::TestWithParam<DueCase> {};

TEST_P(Schedule, DecidesByTypeAndDaysSinceTheLastCheck) {
    TUpdateParam p;
    p.UpdateType = GetParam().UpdateType;
    p.LastUpdateDate = GetParam().LastCheck;
    EXPECT_EQ(IsCheckDue(p, kToday), GetParam().Due);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, Schedule,
    ::testing::Values(
        DueCase{"EveryStartToday", 0, kToday, true}, DueCase{"EveryStartFuture", 0, kToday + 100, true},
        DueCase{"WeeklySameDay", 1, kToday, false}, DueCase{"WeeklySixAndAHalfDays", 1, kToday - 6.5, false},
        DueCase{"WeeklySevenDays", 1, kToday - 7, true},
        // 22 February to 1 March across the month end is exactly a week; the 23rd is six days.
        DueCase{"WeeklyAcrossMonthEnd", 1, EncodeDate(2026, 2, 22), true},
        DueCase{"WeeklyOneDayShort", 1, EncodeDate(2026, 2, 23), false},
        // A check late in the evening of the 22nd is less than 7.0 days before midnight of the 1st.
        DueCase{"WeeklyCheckedInTheEvening", 1, EncodeDate(2026, 2, 22) + 0.9, false},
        DueCase{"MonthlyThirtyDays", 2, EncodeDate(2026, 1, 30), true},
        DueCase{"MonthlyTwentyNineDays", 2, EncodeDate(2026, 1, 31), false},
        DueCase{"MonthlyDefaultDate", 2, 36526.0, true}, DueCase{"ManuallyNever", 3, 36526.0, false},
        DueCase{"UnknownTypeNever", 7, 36526.0, false}, DueCase{"NegativeTypeNever", -1, 36526.0, false},
        DueCase{"WeeklyLastCheckInTheFuture", 1, kToday + 1, true},
        DueCase{"MonthlyLastCheckYearsAhead", 2, EncodeDate(2099, 1, 1), true},
        DueCase{"MonthlyUnreadableDate", 2, kNaN, true}, DueCase{"ManuallyFutureDate", 3, kToday + 1, false}),
    [](const auto& info) { return std::string(info.param.Name); });

class TimeToCheck : public ::testing::Test {
protected:
    somnex::test::TempFolder dir;
    TCheckEnvironment env{[] { return kToday + 0.75; }, dir / "registry.db", {}, {}, {}};

    void Store(int32_t type, bool confirm, TDateTime last) {
        SaveUpdateParam("Pictavio", TUpdateParam{last, type, confirm}, env.Store);
    }
};

TEST_F(TimeToCheck, FreshProfileAsksAndOkMeansDue) {
    BoxRecorder boxes(plat::IDOK);
    EXPECT_TRUE(IsTimeToCheck("Pictavio", env));
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0],
              (Box{"Auto-Update", "Pictavio is about to check for updates to Brindlewood Web Services.",
                   plat::MB_OKCANCEL | plat::MB_ICONQUESTION}));
}

TEST_F(TimeToCheck, CancelMeansNotDueAndNothingIsWritten) {
    Store(1, true, kToday - 10);
    BoxRecorder boxes(plat::IDCANCEL);
    EXPECT_FALSE(IsTimeToCheck("Pictavio", env));
    EXPECT_EQ(boxes.Boxes.size(), 1u);
    TUpdateParam p;
    ReadUpdateParam("Pictavio", p, env.Store);
    EXPECT_EQ(p.LastUpdateDate, kToday - 10);
}

TEST_F(TimeToCheck, WithoutConfirmationNoBoxIsShown) {
    Store(0, false, kToday);
    BoxRecorder boxes;
    EXPECT_TRUE(IsTimeToCheck("Pictavio", env));
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(TimeToCheck, NotDueAsksNothing) {
    Store(2, true, kToday - 3);
    BoxRecorder boxes;
    EXPECT_FALSE(IsTimeToCheck("Pictavio", env));
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(TimeToCheck, UnreadableSettingsCountAsAFreshProfile) {
    {
        plat::Registry reg(plat::HKEY_CURRENT_USER, env.Store);
        reg.OpenKey(std::string(kUpdateKey) + "Pictavio\\", true);
        reg.WriteString("UpdateType", "weekly");
    }
    BoxRecorder boxes(plat::IDOK);
    EXPECT_TRUE(IsTimeToCheck("Pictavio", env));
    EXPECT_EQ(boxes.Boxes.size(), 1u);
}

} // namespace
