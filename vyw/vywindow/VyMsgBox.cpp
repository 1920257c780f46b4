#include "vywindow/VyMsgBox.h"

#include <algorithm>

#include "vyrender/VyRenderContext.h"
#include "vyutil/VyStringHelper.h"
#include "vywindow/VyMainWnd.h"
#include "vywindow/VyMetrics.h"

namespace
{
constexpr int MIN_WIDTH = 175;      // the client area at least
constexpr int MIN_TEXT_HEIGHT = 50; // the text area at least
constexpr int MARGIN_X = 25;
constexpr int MARGIN_Y = 30;
constexpr int TEXT_GAP = 10;        // between the text area and the buttons
constexpr int BUTTON_GAP = 5;
constexpr int LABEL_INSET = 4;      // a label draws its text this far inside its edges
constexpr int BOX_GAP = 10;         // room kept between a box and its parent's edges
// The shape the text is wrapped towards: eight times as wide as high.
constexpr double TEXT_ASPECT = 8.0;

// The text's block: wrapped towards the wide shape, but never wider than widest.
VySize MeasureText(const VyString& text, int widest)
{
    const VyRenderContext* pContext = VyRenderContext::GetCurrent();
    if (pContext == nullptr || pContext->GetFonts().size() <= static_cast<size_t>(VyMsgBox::VY_TEXT_FONT))
        return {static_cast<int>(text.size()) * 6, 16};
    const VyFont& font = *pContext->GetFonts()[VyMsgBox::VY_TEXT_FONT];
    const VySize fitted = font.FitToAspect(text, TEXT_ASPECT);
    if (fitted.cx <= widest)
        return fitted;
    VySize wrapped{0, 0};
    for (const VyString& line : font.Wrap(text, widest))
    {
        wrapped.cx = std::max(wrapped.cx, font.GetTextWidth(line));
        wrapped.cy += font.GetHeight() + 2;
    }
    return wrapped;
}

// The widest text block that keeps a box inside its parent.
int WidestText(const VyFrameWnd* pParent)
{
    const int room = pParent != nullptr ? pParent->GetClientRect().Width() : 640;
    const int frame = 2 * VyGetMetric(VyMetric::THICK_FRAME_X);
    return std::max(MIN_WIDTH - 2 * MARGIN_X, room - 2 * MARGIN_X - 2 * LABEL_INSET - frame - 2 * BOX_GAP);
}

const char* ButtonText(int id)
{
    switch (id)
    {
    case VY_IDOK:
        return "Ok";
    case VY_IDCANCEL:
        return "Cancel";
    case VY_IDYES:
        return "Yes";
    default:
        return "No";
    }
}
} // namespace

std::vector<int> VyMsgBox::ButtonsOf(int type)
{
    switch (type & 0xF)
    {
    case VY_MB_YESNO:
        return {VY_IDYES, VY_IDNO};
    case VY_MB_OKCANCEL:
        return {VY_IDOK, VY_IDCANCEL};
    case VY_MB_CANCEL:
        return {VY_IDCANCEL};
    default:
        return {VY_IDOK};
    }
}

int VyMsgBox::DefaultOf(int type)
{
    const std::vector<int> buttons = ButtonsOf(type);
    return (type & VY_MB_DEFAULT_SECOND) != 0 && buttons.size() > 1 ? buttons[1] : buttons[0];
}

int VyMsgBox::EscapeOf(int type)
{
    return ButtonsOf(type).back(); // No, Cancel, or the single button
}

int VyMsgBox::Run(const VyString& text, const VyString& caption, int type, VyFrameWnd* pParent)
{
    VyMsgBoxOptions options;
    options.pParent = pParent;
    VyMsgBox* pBox = Make(text, caption, type, options);
    return pBox != nullptr ? pBox->RunModal().result : VY_IDCANCEL;
}

VyMsgBox* VyMsgBox::Show(const VyString& text, const VyString& caption, int type, const VyMsgBoxOptions& options)
{
    return Make(text, caption, type, options);
}

VyMsgBox* VyMsgBox::Make(const VyString& text, const VyString& caption, int type, const VyMsgBoxOptions& options)
{
    const VyFrameWnd* pParent = options.pParent != nullptr ? options.pParent : VyMainWnd::Get();
    const VySize textSize = MeasureText(text, WidestText(pParent));
    const std::vector<int> buttons = ButtonsOf(type);
    const int buttonWidth = VyGetMetric(VyMetric::BUTTON_WIDTH);
    const int buttonHeight = VyGetMetric(VyMetric::BUTTON_HEIGHT);
    const int count = static_cast<int>(buttons.size());
    const int rowWidth = count * buttonWidth + (count - 1) * BUTTON_GAP;
    const int textWidth = textSize.cx + 2 * LABEL_INSET;
    const int textHeight = std::max(MIN_TEXT_HEIGHT, textSize.cy + 2 * LABEL_INSET);
    const int clientWidth = std::max(MIN_WIDTH, std::max(textWidth, rowWidth) + 2 * MARGIN_X);
    const int clientHeight = MARGIN_Y + textHeight + TEXT_GAP + buttonHeight + MARGIN_Y;
    const int frameX = VyGetMetric(VyMetric::THICK_FRAME_X);
    const int frameY = VyGetMetric(VyMetric::THICK_FRAME_Y);
    const VySize size{clientWidth + 2 * frameX, clientHeight + 2 * frameY + VyGetMetric(VyMetric::CAPTION_HEIGHT)};

    auto* pBox = static_cast<VyMsgBox*>(
        Create(std::make_unique<VyMsgBox>(), size, caption, options.boxId, options.pParent, options.pOwner));
    if (pBox == nullptr)
        return nullptr;
    // The text's block is centred in its area; a text of one line sits in the middle of it.
    const int textTop = clientHeight - MARGIN_Y - (textHeight - textSize.cy - 2 * LABEL_INSET) / 2;
    pBox->AddText(text, VyRect{MARGIN_X, textTop, clientWidth - MARGIN_X, textTop - textSize.cy - 2 * LABEL_INSET});
    pBox->AddButtons(type, buttons.size() == 1 ? options.buttonLabel : VyString(), MARGIN_Y + buttonHeight);
    pBox->SetDefaultId(DefaultOf(type));
    pBox->SetResult(EscapeOf(type));
    if (options.position)
        pBox->Move(options.position->x, options.position->y, size.cx, size.cy);
    return pBox;
}

void VyMsgBox::AddText(const VyString& text, const VyRect& rect)
{
    VyControlDesc label;
    label.kind = VyControlKind::LABEL;
    label.id = VY_TEXT_ID;
    label.rect = rect;
    label.value = text;
    label.style = VY_STYLE_VISIBLE | VY_STYLE_TRANSPARENT | 0x1000000; // automatic height
    label.justification = VyJustification::CENTER;
    label.bFontSet = true;
    label.font.standard = VY_TEXT_FONT;
    AddControl(label);
}

void VyMsgBox::AddButtons(int type, const VyString& label, int top)
{
    const std::vector<int> buttons = ButtonsOf(type);
    const int width = VyGetMetric(VyMetric::BUTTON_WIDTH);
    const int height = VyGetMetric(VyMetric::BUTTON_HEIGHT);
    const int count = static_cast<int>(buttons.size());
    int x = (GetClientRect().Width() - (count * width + (count - 1) * BUTTON_GAP)) / 2;
    for (int id : buttons)
    {
        VyControlDesc button;
        button.kind = VyControlKind::BUTTON;
        button.id = id;
        button.rect = {x, top, x + width, top - height};
        button.value = label.empty() ? VyString(ButtonText(id)) : label;
        button.style = VY_STYLE_VISIBLE | VY_STYLE_TABSTOP;
        button.justification = VyJustification::CENTER;
        button.bCloseOnSelect = true; // every button of a box answers it
        AddControl(button);
        x += width + BUTTON_GAP;
    }
}
