#include "viewer/toolbar.h"

#include "core/canvas.h"
#include "font/system_font.h"
#include "viewer/boxes.h"

#include <algorithm>

namespace kv::viewer {

namespace {

constexpr int kSidePadding = 8; // between the label and the button's sides
constexpr int kMinWidth = 28;   // "+" alone is still a fair target

int extent(const std::string& text) {
    return font::text_extent({reinterpret_cast<const unsigned char*>(text.data()), text.size()});
}

int widest_label(const ActionInfo& row) {
    int widest = 0;
    for (const Lang lang : {Lang::Fr, Lang::En})
        for (const Text& label : {row.label, row.label_on})
            widest = std::max(widest, extent(latin1(label(lang))));
    return std::max(kMinWidth, widest + 2 * kSidePadding);
}

} // namespace

std::vector<ToolbarButton> toolbar_buttons(std::span<const ActionInfo> table, Lang lang,
                                           const Status& status) {
    std::vector<ToolbarButton> buttons;
    for (const ActionInfo& row : table) {
        if (row.toolbar == Button::None) continue;
        const bool on = status.on(row.action).value_or(false);
        const bool own_label = !row.label_on(lang).empty();
        buttons.push_back({row.action, latin1((on && own_label ? row.label_on : row.label)(lang)),
                           widest_label(row), on && !own_label, status.enabled(row.action)});
    }
    return buttons;
}

Framebuffer render_button(const ToolbarButton& button) {
    Framebuffer image(button.width, kButtonHeight, button.on ? kButtonOn : kBadgeBox);
    Canvas canvas(image, Region(image.bounds()));
    const std::string& label = button.label;
    font::draw_text(canvas, (button.width - extent(label)) / 2,
                    (kButtonHeight - font::kCellHeight) / 2,
                    {reinterpret_cast<const unsigned char*>(label.data()), label.size()},
                    button.enabled ? kBadgeText : kButtonDisabled, std::nullopt);
    return image;
}

} // namespace kv::viewer
