// tests/windows/skin/text_stage.cpp
#include "tests/windows/skin/text_stage.h"

namespace skin_test {

BEGIN_MESSAGE_MAP(CTextStage, CBitmapDialog)
    ON_NOTIFY(LinkClickNotify, 1018, &CTextStage::OnLinkClick)
END_MESSAGE_MAP()

}  // namespace skin_test
