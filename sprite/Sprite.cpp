#include "sprite/Sprite.h"

#include "sprite/SpriteEngine.h"
#include "sprite/SpriteGeometry.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace {

// Makes room for one more entry, so that the insertions that follow cannot fail.
template <class V> void ReserveOneMore(V& v) {
    if (v.size() == v.capacity()) {
        v.reserve(v.size() * 2 + 1);
    }
}

} // namespace

TSprite::TSprite(const TSpriteJoin& join) : parent_(&join.parent_) {
    // A parent is the root engine or a sprite below one; roots can only be engines, so every
    // parent handed out by Add qualifies.
    engine_ = parent_->engine_ != nullptr ? parent_->engine_ : dynamic_cast<TSpriteEngine*>(parent_);
    assert(engine_ != nullptr);
}

TSprite::~TSprite() {
    Clear();
}

void TSprite::Join(std::unique_ptr<TSprite> child) {
    assert(!child->engine_->Drawing() && "sprites must not join during Draw");
    if (!lists_) {
        auto lists = std::make_unique<ChildLists>();
        ReserveOneMore(lists->Children);
        ReserveOneMore(lists->PaintOrder);
        lists_ = std::move(lists);
    } else {
        ReserveOneMore(lists_->Children);
        ReserveOneMore(lists_->PaintOrder);
    }

    // Binary search for the first sibling whose Z is not below the newcomer's: the newcomer
    // goes after every lower Z and in front of every equal or higher one.
    auto& order = lists_->PaintOrder;
    const int32_t z = child->z_;
    std::ptrdiff_t lo = 0;
    std::ptrdiff_t hi = static_cast<std::ptrdiff_t>(order.size()) - 1;
    while (lo <= hi) {
        std::ptrdiff_t mid = (lo + hi) / 2;
        if (order[static_cast<std::size_t>(mid)]->z_ < z) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    order.insert(order.begin() + lo, child.get());
    ++child->engine_->spriteCount_;
    lists_->Children.push_back(std::move(child));
}

void TSprite::Destroy(TSprite& child) {
    if (!lists_ || child.parent_ != this) {
        return;
    }
    assert(!child.engine_->Drawing() && "sprites must not be destroyed during Draw");
    // A sprite's subtree goes before anything else of it, last joined first.
    child.Clear();
    auto& children = lists_->Children;
    // Searched from the end: the last joined child is the one usually destroyed.
    auto found = std::find_if(children.rbegin(), children.rend(), [&](const auto& c) { return c.get() == &child; });
    std::unique_ptr<TSprite> owned = std::move(*found);
    children.erase(std::next(found).base());
    auto& order = lists_->PaintOrder;
    order.erase(std::find(order.begin(), order.end(), &child));
    if (children.empty()) {
        lists_.reset();
    }
    --child.engine_->spriteCount_;
    owned.reset();
}

void TSprite::Clear() {
    while (lists_) {
        Destroy(*lists_->Children.back());
    }
}

int32_t TSprite::Count() const {
    return lists_ ? static_cast<int32_t>(lists_->Children.size()) : 0;
}

TSprite& TSprite::ChildAt(int32_t index) const {
    if (!lists_) {
        throw ESpriteError(FormatMessage("Index of the list exceeds the range. (%d)", static_cast<long>(index)));
    }
    if (index < 0 || index >= Count()) {
        throw EListError(index);
    }
    return *lists_->Children[static_cast<std::size_t>(index)];
}

double TSprite::AbsoluteX() const {
    return parent_ != nullptr ? parent_->AbsoluteX() + X : X;
}

double TSprite::AbsoluteY() const {
    return parent_ != nullptr ? parent_->AbsoluteY() + Y : Y;
}

TRect TSprite::GetBounds() const {
    using namespace sprite_geometry;
    return SizedRect(TruncToInt32(AbsoluteX()), TruncToInt32(AbsoluteY()), Width, Height);
}

bool TSprite::HitTest(const TSprite& /*other*/) const {
    return true;
}

void TSprite::PaintTree() {
    if (!Visible) {
        return;
    }
    // The root has no engine and is never rendered itself.
    if (engine_ != nullptr && OverlapRect(engine_->SurfaceBounds(), GetBounds())) {
        Render();
        ++engine_->drawnCount_;
    }
    if (lists_) {
        for (TSprite* child : lists_->PaintOrder) {
            child->PaintTree();
        }
    }
}
