// The fake programs for the runs' tests and an observer that records everything a run tells.
#pragma once
#include "fusion/bracket_run.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace lvp::test {
inline const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
inline const std::u16string kAlign = kFake; // with "-a PREFIX" the fake aligns

// Records everything the run tells, in order; answers the question as told; a stop is asked for
// once the pane holds "STOPME".
class CRecorder final : public CRunObserver {
public:
    void AddText(std::u16string_view text) override { m_pane += text; }
    bool AskYesNo(std::u16string_view question, bool bYesDefault) override
    {
        m_questions.emplace_back(question);
        m_bYesDefault = bYesDefault;
        return m_bAnswer;
    }
    bool StopRequested() override { return m_pane.find(u"STOPME") != std::u16string::npos; }
    void ShowBusy(bool bBusy) override
    {
        EXPECT_NE(bBusy, m_bBusy) << "the wait cursor is begun and ended in pairs";
        m_bBusy = bBusy;
        ++m_nBusyChanges;
    }
    void ReportProgress(const SRunProgress& progress) override { m_progress.push_back(progress); }

    bool m_bAnswer = true;
    std::u16string m_pane;
    std::vector<std::u16string> m_questions;
    bool m_bYesDefault = false;
    bool m_bBusy = false;
    int m_nBusyChanges = 0;
    std::vector<SRunProgress> m_progress;
};

// Where the fusion of an aligned bracket of nPhotos photos of unknown size begins on the bar.
inline double AlignedFuseStart(size_t nPhotos)
{
    CToolProgress progress(nPhotos, 0, true);
    progress.BeginFuse(0, true);
    return progress.Fraction();
}
} // namespace lvp::test

namespace lvp {
// Readable in a failed expectation.
inline void PrintTo(const SRunProgress& p, std::ostream* os)
{
    *os << "{phase " << static_cast<int>(p.phase) << ", step " << p.nStep << "/" << p.nSteps << ", "
        << p.fraction << ", stage " << static_cast<int>(p.detail.stage) << " " << p.detail.nItem << "/"
        << p.detail.nItems << ", bracket " << p.nBracket << "/" << p.nBrackets << "}";
}
} // namespace lvp
