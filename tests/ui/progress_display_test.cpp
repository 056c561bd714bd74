// The progress display over a model bar and a recording taskbar: steps of the bar, the status
// text with its clock, the end states.
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/ui/model/model_ui.h"
#include "ui/progress_display.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {
using namespace lvp;

SRunProgress Fuse(double fraction, SStageDetail detail = {EProgressStage::FuseLoad, 1, 3},
                  unsigned nBracket = 0, unsigned nBrackets = 0)
{
    return {ERunPhase::Fuse, 1, 1, fraction, detail, nBracket, nBrackets};
}

class ProgressDisplay : public ::testing::Test {
protected:
    ProgressDisplay()
    {
        m_bar.Attach(MakeModelBackend(m_control));
        m_pTaskbar = m_ui.ShowTaskbarProgress(reinterpret_cast<platform::WindowId>(&m_ui));
    }
    CProgressDisplay Display()
    {
        return CProgressDisplay(m_bar, m_pTaskbar.get(), [this] { return m_now; });
    }

    SModelControl m_control{IDC_PROGRESS, EControlKind::Progress};
    CProgressCtrl m_bar;
    CModelUi m_ui;
    std::unique_ptr<CTaskbarProgress> m_pTaskbar;
    double m_now = 100.0;
};

// Each report moves the bar by whole steps only, and the bar and the button get a position only
// when it changes; 100 % is reached by the whole run alone.
TEST_F(ProgressDisplay, MovesInStepsOfTheBar)
{
    struct SCase {
        double fraction;
        int nPos;
        unsigned nChanges; // of the bar's position since Begin
    } cases[] = {
        {0.0, 0, 0},      {0.0004, 0, 0},
        {0.0011, 1, 1},   {0.0019, 1, 1},
        {0.5, 500, 2},    {0.5004, 500, 2},
        {0.9999, 999, 3}, {-1.0, 0, 4},
        {0.25, 250, 5},   {std::numeric_limits<double>::quiet_NaN(), 0, 6},
        {1.0, 1000, 7},   {1.0, 1000, 7},
        {2.0, 1000, 7},
    };
    CProgressDisplay display = Display();
    display.Begin();
    const unsigned nBefore = m_control.nPosChanges;
    int nTaskbarCalls = m_ui.m_taskbar.nSetPos;
    int nLast = 0;
    for (const SCase& c : cases) {
        display.Report(Fuse(c.fraction));
        EXPECT_EQ(m_control.nPos, c.nPos) << c.fraction;
        EXPECT_EQ(m_control.nPosChanges - nBefore, c.nChanges) << c.fraction;
        EXPECT_EQ(m_ui.m_taskbar.nPos, c.nPos) << c.fraction;
        nTaskbarCalls += c.nPos != nLast;
        EXPECT_EQ(m_ui.m_taskbar.nSetPos, nTaskbarCalls) << c.fraction;
        nLast = c.nPos;
    }
}

// The text: the stage (with the bracket in a batch) and the time since Begin, the time anew only
// when its second changes; the end says how the run ended.
TEST_F(ProgressDisplay, StatusTextFollowsStageClockAndEnd)
{
    const std::u16string load = FormatModuleStrings(IDS_PROGRESS_FUSE_LOAD, {u"2", u"3"});
    const std::u16string batch = FormatModuleStrings(IDS_PROGRESS_BRACKET, {u"3", u"40", load});
    CProgressDisplay display = Display();
    display.Begin();
    EXPECT_EQ(m_control.strText, u"0:00");
    display.Report(Fuse(0.1, {EProgressStage::FuseLoad, 2, 3}));
    EXPECT_EQ(m_control.strText, load + u"  0:00");
    m_now += 0.9;
    const int nUpdates = m_control.nUpdateCount;
    display.Tick();
    EXPECT_EQ(m_control.nUpdateCount, nUpdates); // same second: not painted again
    m_now += 64.2;
    display.Tick();
    EXPECT_EQ(m_control.strText, load + u"  1:05");
    display.Report(Fuse(0.2, {EProgressStage::FuseLoad, 2, 3}, 3, 40));
    EXPECT_EQ(m_control.strText, batch + u"  1:05");
    EXPECT_EQ(display.StatusText(), m_control.strText);

    struct SCase {
        EProgressState state;
        std::u16string word;
    } ends[] = {
        {EProgressState::Normal, u""},
        {EProgressState::Error, LoadModuleString(IDS_PROGRESS_FAILED)},
        {EProgressState::Paused, LoadModuleString(IDS_PROGRESS_STOPPED)},
    };
    for (const SCase& c : ends) {
        CProgressDisplay ended = Display();
        ended.Begin();
        ended.Report(Fuse(0.4));
        ended.End(c.state);
        EXPECT_EQ(m_control.progressState, c.state) << static_cast<int>(c.state);
        EXPECT_EQ(m_ui.m_taskbar.state, c.state) << static_cast<int>(c.state);
        EXPECT_EQ(m_control.nPos, 400) << static_cast<int>(c.state); // the bar stays where the run left it
        EXPECT_EQ(m_control.strText, (c.word.empty() ? u"" : c.word + u"  ") + u"0:00") << static_cast<int>(c.state);
    }
    // A new run starts in the normal state at 0.
    CProgressDisplay again = Display();
    again.Begin();
    EXPECT_EQ(m_control.progressState, EProgressState::Normal);
    EXPECT_EQ(m_control.nPos, 0);
    EXPECT_EQ(m_ui.m_taskbar.nPos, 0);
}

TEST(ProgressEndState, FromTheOutcome)
{
    EXPECT_EQ(ProgressEndState(ERunOutcome::Fused), EProgressState::Normal);
    EXPECT_EQ(ProgressEndState(ERunOutcome::Failed), EProgressState::Error);
    EXPECT_EQ(ProgressEndState(ERunOutcome::Stopped), EProgressState::Paused);
}
} // namespace
