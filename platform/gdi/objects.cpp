#include "gdi/objects.h"

#include <utility>

namespace kv::gdi {

namespace {
// A handle carries its slot index (low 24 bits, plus one so that no handle is null) and the slot's
// generation, so that a handle kept after its object was freed is refused rather than aliased.
constexpr std::uintptr_t kIndexBits = 24;
constexpr std::uintptr_t kIndexMask = (std::uintptr_t{1} << kIndexBits) - 1;
constexpr std::uintptr_t kGenerationMask = ~std::uintptr_t{0} >> kIndexBits;

void* make_handle(std::size_t index, std::uint32_t generation) {
    const std::uintptr_t value = ((std::uintptr_t{generation} & kGenerationMask) << kIndexBits) |
                                 (static_cast<std::uintptr_t>(index) + 1);
    return reinterpret_cast<void*>(value);
}
} // namespace

DcObject::DcObject(Canvas c)
    : canvas(std::move(c)), pen(ObjectTable::instance().black_pen()),
      brush(ObjectTable::instance().white_brush()) {}

Region DcObject::drawn() const {
    Region all = drawn_;
    all.add(canvas.drawn());
    return all;
}

ObjectTable::ObjectTable() {
    black_pen_ = add(PenObject{1, 0x000000, std::nullopt, {}}, true);
    white_brush_ = add(BrushObject{0xFFFFFF}, true);
}

void* ObjectTable::add(Object object, bool stock) {
    std::size_t index;
    if (!free_.empty()) {
        index = free_.back();
        free_.pop_back();
    } else {
        if (slots_.size() >= kIndexMask) return nullptr;
        index = slots_.size();
        slots_.emplace_back();
    }
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    slot.stock = stock;
    return make_handle(index, slot.generation);
}

ObjectTable::Slot* ObjectTable::find(const void* handle) {
    return const_cast<Slot*>(std::as_const(*this).find(handle));
}

const ObjectTable::Slot* ObjectTable::find(const void* handle) const {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    const std::uintptr_t low = value & kIndexMask;
    if (low == 0 || low > slots_.size()) return nullptr;
    const Slot& slot = slots_[low - 1];
    if ((value >> kIndexBits) != (std::uintptr_t{slot.generation} & kGenerationMask))
        return nullptr;
    if (std::holds_alternative<std::monostate>(slot.object)) return nullptr;
    return &slot;
}

const PenObject* ObjectTable::pen(HGDIOBJ handle) const {
    const Slot* slot = find(handle);
    return slot ? std::get_if<PenObject>(&slot->object) : nullptr;
}

const BrushObject* ObjectTable::brush(HGDIOBJ handle) const {
    const Slot* slot = find(handle);
    return slot ? std::get_if<BrushObject>(&slot->object) : nullptr;
}

DcObject* ObjectTable::dc(HDC handle) {
    Slot* slot = find(handle);
    if (!slot) return nullptr;
    auto* dc = std::get_if<std::unique_ptr<DcObject>>(&slot->object);
    return dc ? dc->get() : nullptr;
}

bool ObjectTable::selected_in_live_dc(const void* handle) const {
    for (const Slot& slot : slots_) {
        const auto* dc = std::get_if<std::unique_ptr<DcObject>>(&slot.object);
        if (dc && ((*dc)->pen == handle || (*dc)->brush == handle)) return true;
    }
    return false;
}

bool ObjectTable::remove_object(HGDIOBJ handle) {
    Slot* slot = find(handle);
    if (!slot || slot->stock || std::holds_alternative<std::unique_ptr<DcObject>>(slot->object))
        return false;
    if (selected_in_live_dc(handle)) return false;
    slot->object = std::monostate{};
    ++slot->generation;
    free_.push_back(static_cast<std::uint32_t>(slot - slots_.data()));
    return true;
}

std::optional<Region> ObjectTable::remove_dc(HDC handle) {
    Slot* slot = find(handle);
    if (!slot) return std::nullopt;
    auto* dc = std::get_if<std::unique_ptr<DcObject>>(&slot->object);
    if (!dc) return std::nullopt;
    Region drawn = (*dc)->drawn();
    slot->object = std::monostate{};
    ++slot->generation;
    free_.push_back(static_cast<std::uint32_t>(slot - slots_.data()));
    return drawn;
}

} // namespace kv::gdi
