// The tool-run tests' OS services on Linux: the in-memory pane, /proc/self/fd, a UTF-8 locale.
#include "tests/ui/test_os.h"
#include "resources/ids.h"

#include "ui/framework/model/model_wnd.h"

#include <clocale>

namespace toolrun_test {
namespace {
class CModelPane : public CTestPane {
public:
    CModelPane() { m_edit.Attach(lvp::MakeModelBackend(m_control)); }
    lvp::SModelControl m_control{lvp::IDC_OUTPUT_PANE, lvp::EControlKind::Edit};
};
} // namespace

std::unique_ptr<CTestPane> MakeTestPane(bool)
{
    return std::make_unique<CModelPane>();
}

CMultiByteLocale::CMultiByteLocale()
{
    const char* before = std::setlocale(LC_ALL, nullptr);
    m_strBefore = before ? before : "C";
    m_bActive = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    m_strBytes = "B\xC3\xA4ume \xE2\x82\xAC \xF0\x9F\x98\x80";
    m_strText = u"Bäume € \U0001F600";
}

CMultiByteLocale::~CMultiByteLocale()
{
    std::setlocale(LC_ALL, m_strBefore.c_str());
}

std::vector<std::u16string> OsArgumentSamples()
{
    return {u"raw \xDCFF\xDC80 bytes", u"$(echo no shell) `x` *.jpg ' \" \\"};
}
} // namespace toolrun_test
