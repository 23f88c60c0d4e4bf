#include "panel/VfoDisplay.h"

#include "platform/Elements.h"
#include "radio/CatCodec.h"

namespace kivo::panel {

void VfoDisplay::ShowFreq(bool main, Long freq)
{
    m_display.SetCaption(main ? el::ledFreq : el::ledSubFreq, radio::FreqText(freq));
}

void VfoDisplay::ShowModeLabels(const char* prefix, Integer mode)
{
    for (int k = 0; k < 8; ++k)
        m_display.SetVisible(platform::DisplayModel::Indexed(prefix, k), k == mode);
}

void VfoDisplay::ShowRptDirection(Integer dir)
{
    const bool known = dir == 0 || dir == 1 || dir == -1 || dir == -11;
    if (!known)
        return;
    m_display.SetVisible(el::ImgRPTdirection(0), dir == 1 || dir == -11);
    m_display.SetVisible(el::ImgRPTdirection(1), dir == -1 || dir == -11);
}

void VfoDisplay::ShowToneLabels(bool main, Integer toneMode)
{
    const radio::ToneModeRow& r = radio::ToneModeTable[(toneMode >= 0 && toneMode < 4) ? toneMode : 0];
    m_display.SetVisible(main ? el::lblMainENC : el::lblSubENC, r.enc);
    m_display.SetVisible(main ? el::lblMainDEC : el::lblSubDEC, r.dec);
    m_display.SetVisible(main ? el::lblMainDCS : el::lblSubDCS, r.dcs);
}

} // namespace kivo::panel
