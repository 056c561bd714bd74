// The Linux build's cursor: the terminal rendition shows no pointer, so the wait is only recorded.
#include "ui/framework/model/model_wnd.h"

namespace lvp {
CCursorBackend& DefaultCursorBackend()
{
    static CModelCursor cursor;
    return cursor;
}
} // namespace lvp
