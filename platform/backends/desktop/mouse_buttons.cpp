#include "backends/desktop/mouse_buttons.h"

namespace kv::desktop {

void mouse_button(const Presenter& presenter, const viewer::Screen& screen, InputEvent::Kind kind,
                  InputEvent::Button button, std::int64_t x, std::int64_t y,
                  std::vector<InputEvent>& out) {
    const Hit hit = presenter.hit(x, y);
    if (hit.kind == Hit::Kind::Picture) {
        out.push_back({kind, button, hit.point.x, hit.point.y});
        return;
    }
    // The viewer's controls act as a press lands, as its keys do.
    if (kind != InputEvent::Kind::ButtonDown || button != InputEvent::Button::Left) return;
    if (hit.kind == Hit::Kind::Button) screen.act(hit.action);
    if (hit.kind == Hit::Kind::PanelRow) screen.panel_click(hit.row, hit.step);
}

} // namespace kv::desktop
