// The tests' window system: scripted dialogs, recorded boxes, answered file dialogs.
#include "tests/ui/model/model_ui.h"

namespace lvp {
namespace {
// A font or brush of the model, counted while it lives.
template <typename Backend> class CCounted;
template <> class CCounted<CFontBackend> : public CFontBackend {
public:
    CCounted(std::unique_ptr<CFontBackend> pInner, int& nLive) : m_pInner(std::move(pInner)), m_nLive(++nLive)
    {
    }
    ~CCounted() override { --m_nLive; }
    const SFontSpec& Spec() const override { return m_pInner->Spec(); }

private:
    std::unique_ptr<CFontBackend> m_pInner;
    int& m_nLive;
};
template <> class CCounted<CBrushBackend> : public CBrushBackend {
public:
    CCounted(std::unique_ptr<CBrushBackend> pInner, int& nLive)
        : m_pInner(std::move(pInner)), m_nLive(++nLive)
    {
    }
    ~CCounted() override { --m_nLive; }
    Color GetColor() const override { return m_pInner->GetColor(); }

private:
    std::unique_ptr<CBrushBackend> m_pInner;
    int& m_nLive;
};
class CModelTaskbar : public CTaskbarProgress {
public:
    explicit CModelTaskbar(SModelTaskbar& t) : m_t(t)
    {
        m_t.bShown = true;
        ++m_t.nShows;
    }
    ~CModelTaskbar() override { m_t.bShown = false; }
    void SetPos(int nPos) override
    {
        m_t.nPos = nPos;
        ++m_t.nSetPos;
    }
    void SetState(EProgressState state) override { m_t.state = state; }

private:
    SModelTaskbar& m_t;
};

// A dialog whose user is the test: its steps run one after the other until the dialog ends.
class CScriptedDialog : public CModelDialog {
public:
    CScriptedDialog(CModelUi& ui, std::shared_ptr<SModelDialog> pState) : CModelDialog(ui, std::move(pState))
    {
    }

protected:
    void PollInput() override
    {
        CModelUi& ui = static_cast<CModelUi&>(m_ui);
        if (!ui.m_runSteps.empty()) {
            CModelUi::Step step = std::move(ui.m_runSteps.front());
            ui.m_runSteps.pop_front();
            step(*this);
        }
    }
    bool Loop() override
    {
        CModelUi& ui = static_cast<CModelUi&>(m_ui);
        while (!IsEnded()) {
            if (ui.m_steps.empty())
                return false;
            CModelUi::Step step = std::move(ui.m_steps.front());
            ui.m_steps.pop_front();
            step(*this);
        }
        return true;
    }
};
} // namespace

std::unique_ptr<CDialogBackend> CModelUi::MakeDialog(std::shared_ptr<SModelDialog> pState)
{
    m_dialogs.push_back(pState);
    return std::make_unique<CScriptedDialog>(*this, std::move(pState));
}

bool CModelUi::ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon,
                           EMessageButtons buttons)
{
    SModelDialog* pDialog = LastDialog();
    m_messages.push_back(
        {std::u16string(text), std::u16string(caption), icon, pDialog ? pDialog->nFocusId : 0, buttons});
    if (m_onMessage)
        m_onMessage(m_messages.back());
    if (buttons == EMessageButtons::Ok)
        return true;
    if (m_yesNoAnswers.empty())
        return buttons == EMessageButtons::YesNoDefaultYes;
    const bool bYes = m_yesNoAnswers.front();
    m_yesNoAnswers.pop_front();
    return bYes;
}

bool CModelUi::ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path)
{
    m_fileRequests.push_back(request);
    if (m_fileAnswers.empty())
        return false;
    std::optional<std::u16string> answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    if (!answer)
        return false;
    path = *answer;
    return true;
}

std::unique_ptr<CFontBackend> CModelUi::MakeFont(const SFontSpec& spec)
{
    return m_bFailFonts ? nullptr
                        : std::make_unique<CCounted<CFontBackend>>(CStateUi::MakeFont(spec), m_nLiveFonts);
}

std::unique_ptr<CBrushBackend> CModelUi::MakeSolidBrush(Color color)
{
    return std::make_unique<CCounted<CBrushBackend>>(CStateUi::MakeSolidBrush(color), m_nLiveBrushes);
}
std::unique_ptr<CTaskbarProgress> CModelUi::ShowTaskbarProgress(platform::WindowId window)
{
    if (!window)
        return nullptr;
    m_taskbar.window = window;
    return std::make_unique<CModelTaskbar>(m_taskbar);
}
} // namespace lvp
