#pragma once

#include "platform/base/Exception.h"
#include "platform/base/Rect.h"

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

class TSprite;
class TSpriteEngine;

class ESpriteError : public Exception {
public:
    using Exception::Exception;
};

// Handed to a sprite's constructor by its parent's Add. Only the sprite tree can make one,
// so every sprite but a root engine is created inside the parent that owns it.
class TSpriteJoin {
public:
    TSpriteJoin(const TSpriteJoin&) = delete;
    TSpriteJoin& operator=(const TSpriteJoin&) = delete;

private:
    friend class TSprite;
    explicit TSpriteJoin(TSprite& parent) : parent_(parent) {}
    TSprite& parent_;
};

// A node of the scene: position relative to its parent, a rectangle, and the children it
// owns. Siblings are drawn in PaintOrder, sorted by Z when they join; a newcomer goes in
// front of the siblings with the same Z, so with equal Z the newest is drawn first.
//
// Classes derived from TSprite take a `const TSpriteJoin&` as the first constructor
// argument and pass it on; they are made with the parent's Add<T>(...).
class TSprite {
public:
    explicit TSprite(const TSpriteJoin& join);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    // Makes a T(join, args...) owned by this sprite, joins it as the newest child and returns it.
    template <class T, class... Args> T& Add(Args&&... args) {
        static_assert(std::is_base_of_v<TSprite, T>, "only sprites join the sprite tree");
        auto child = std::make_unique<T>(TSpriteJoin(*this), std::forward<Args>(args)...);
        T& made = *child;
        Join(std::move(child));
        return made;
    }
    // Destroys a child with its subtree; a sprite that is not a child is left alone.
    void Destroy(TSprite& child);
    // Destroys every child, the last joined first.
    void Clear();

    int32_t Count() const;
    // The index-th child in order of joining. Raises ESpriteError when there are no children
    // and EListError when the index lies outside 0 .. Count - 1.
    TSprite& ChildAt(int32_t index) const;

    // The root engine; null on the root itself.
    TSpriteEngine* Engine() const { return engine_; }
    // Null on the root.
    TSprite* Parent() const { return parent_; }
    // The drawing order key, read when the sprite joined its parent.
    int32_t Z() const { return z_; }
    double AbsoluteX() const;
    double AbsoluteY() const;

    // The draw walk: renders this sprite when visible and overlapping the engine's surface,
    // then its children in PaintOrder. Render must not add or destroy sprites.
    void PaintTree();

    bool Visible = true;
    double X = 0.0;
    double Y = 0.0;
    int32_t Width = 0;
    int32_t Height = 0;

    virtual void HitNotice() {}
    // Draws the sprite itself on the engine's surface.
    virtual void Render() {}
    virtual void Advance(int32_t /*moveCount*/) {}
    // The rectangle in surface pixels: truncated absolute position and size.
    virtual TRect GetBounds() const;
    virtual bool HitTest(const TSprite& other) const;

protected:
    // Only before joining, that is, in a constructor: Z is fixed once the sprite is in the tree.
    void SetZ(int32_t z) { z_ = z; }

private:
    friend class TSpriteEngine;
    // A root: no parent, no engine.
    TSprite() = default;

    struct ChildLists {
        std::vector<std::unique_ptr<TSprite>> Children; // in order of joining
        std::vector<TSprite*> PaintOrder;               // the same, sorted by Z
    };

    void Join(std::unique_ptr<TSprite> child);

    TSpriteEngine* engine_ = nullptr;
    TSprite* parent_ = nullptr;
    // Exists only while there is at least one child.
    std::unique_ptr<ChildLists> lists_;
    int32_t z_ = 0;
};
