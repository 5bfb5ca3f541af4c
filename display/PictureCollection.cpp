#include "display/PictureCollection.h"

#include "display/DXDraw.h"
#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectXErrors.h"
#include "platform/app/Component.h"
#include "platform/files/ResourceLimits.h"

#include <algorithm>

namespace {
// Pictures cut into several patterns are loaded in blocks of about this many pixels a side.
constexpr int32_t kBlockSize = 512;
} // namespace

TPictureCollectionItem::TPictureCollectionItem(TPictureCollection& collection) : collection_(collection) {}

TPictureCollectionItem::~TPictureCollectionItem() = default;

void TPictureCollectionItem::SetPicture(const TPicture& picture) {
    picture_ = picture;
}

void TPictureCollectionItem::SetTransparentColor(TColor color) {
    if (color == transparentColor_) {
        return;
    }
    transparentColor_ = color;
    for (const auto& surface : surfaces_) {
        try {
            surface->SetKeyColor(surface->MatchColor(color));
        } catch (const std::exception&) {
            // One surface that cannot take the colour keeps its old key; the others still change.
        }
    }
}

void TPictureCollectionItem::Assign(const TPictureCollectionItem& source) {
    const bool wasPrepared = prepared_;
    Release();
    PatternHeight = source.PatternHeight;
    PatternWidth = source.PatternWidth;
    SkipHeight = source.SkipHeight;
    SkipWidth = source.SkipWidth;
    SystemMemory = source.SystemMemory;
    Transparent = source.Transparent;
    transparentColor_ = source.transparentColor_;
    picture_ = source.picture_;
    if (wasPrepared) {
        Prepare();
        BuildPatterns();
    }
}

int32_t TPictureCollectionItem::Width() const {
    return PatternWidth > 0 ? PatternWidth : picture_.Width();
}

int32_t TPictureCollectionItem::Height() const {
    return PatternHeight > 0 ? PatternHeight : picture_.Height();
}

const TPictureCollectionItemPattern* TPictureCollectionItem::PatternAt(int32_t index) const {
    if (index < 0 || index >= PatternCount()) {
        return nullptr;
    }
    return &patterns_[static_cast<std::size_t>(index)];
}

TRect TPictureCollectionItem::PatternRect(int32_t index) const {
    const auto* p = PatternAt(index);
    return p ? p->Rect : TRect{};
}

TDirectDrawSurface* TPictureCollectionItem::PatternSurface(int32_t index) const {
    const auto* p = PatternAt(index);
    return p ? p->Surface : nullptr;
}

void TPictureCollectionItem::Prepare() {
    Release();
    prepared_ = collection_.Initialized();
}

void TPictureCollectionItem::Release() {
    if (prepared_) {
        prepared_ = false;
        ClearSurfaces();
    }
}

void TPictureCollectionItem::ClearSurfaces() {
    patterns_.clear();
    surfaces_.clear();
}

TDirectDrawSurface& TPictureCollectionItem::AddBlock(const TRect& r) {
    surfaces_.push_back(std::make_unique<TDirectDrawSurface>(collection_.DXDraw()->DDraw()));
    TDirectDrawSurface& surface = *surfaces_.back();
    surface.InSystemMemory = SystemMemory;
    surface.LoadPicture(*picture_.Graphic(), 0, 0, r);
    surface.SetKeyColor(surface.MatchColor(transparentColor_));
    return surface;
}

int64_t TPictureCollectionItem::PlannedPatternCount() const {
    if (picture_.Empty()) {
        return 0;
    }
    const int64_t w = Width(), h = Height();
    const int64_t pw = picture_.Width(), ph = picture_.Height();
    const int64_t w2 = w + SkipWidth, h2 = h + SkipHeight;
    if (w == pw && h == ph) {
        return 1;
    }
    if (w2 <= 0 || h2 <= 0) {
        return 0;
    }
    const int64_t columns = (pw + SkipWidth) / w2, rows = (ph + SkipHeight) / h2;
    return columns <= 0 || rows <= 0 ? 0 : columns * rows;
}

void TPictureCollectionItem::CheckPatternLimit() const {
    const int64_t count = PlannedPatternCount();
    if (count > platform::kMaxPatterns) {
        throw EPictureCollectionError(DisplayName() + " would be cut into " + std::to_string(count) +
                                      " patterns, more than " + std::to_string(platform::kMaxPatterns));
    }
}

std::string TPictureCollectionItem::DisplayName() const {
    if (!Name.empty()) {
        return Name;
    }
    const TComponent* owner = collection_.Owner();
    const std::string list = owner && !owner->Name().empty() ? owner->Name() + ".Items" : "Items";
    return list + "[" + std::to_string(collection_.IndexOf(*this)) + "]";
}

void TPictureCollectionItem::BuildPatterns() {
    if (picture_.Empty()) {
        return;
    }
    if (!prepared_) {
        if (collection_.Initialized()) {
            Prepare();
        }
        if (!prepared_) {
            return;
        }
    }
    ClearSurfaces();
    // Refused before any surface is made: the pattern count is bounded only by the picture's
    // pixels otherwise (1 x 1 patterns of a large picture make millions).
    CheckPatternLimit();
    // The stored pattern sizes and gaps can be anything; the geometry is worked out in 64 bits.
    const int64_t w = Width(), h = Height();
    const int64_t pw = picture_.Width(), ph = picture_.Height();
    const int64_t w2 = w + SkipWidth, h2 = h + SkipHeight;

    if (w == pw && h == ph) {
        TDirectDrawSurface& block = AddBlock(TRect{0, 0, picture_.Width(), picture_.Height()});
        patterns_.push_back({block.FullRect(), &block});
        return;
    }
    // A gap that cancels the pattern size leaves no stride to cut by.
    if (w2 <= 0 || h2 <= 0) {
        return;
    }
    const int64_t columns = (pw + SkipWidth) / w2, rows = (ph + SkipHeight) / h2;
    if (columns <= 0 || rows <= 0) {
        return;
    }
    auto rect = [&](int64_t x, int64_t y) {
        return Bounds(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w),
                      static_cast<int32_t>(h));
    };

    if (SystemMemory) {
        TDirectDrawSurface& block = AddBlock(TRect{0, 0, picture_.Width(), picture_.Height()});
        for (int64_t y = 0; y < rows; ++y) {
            for (int64_t x = 0; x < columns; ++x) {
                patterns_.push_back({rect(x * w2, y * h2), &block});
            }
        }
        return;
    }

    // Blocks of whole strides: the fewest strides reaching the block size, but no more than fit the picture.
    const int64_t bw = std::min((kBlockSize + w2 - 1) / w2 * w2, columns * w2);
    const int64_t bh = std::min((kBlockSize + h2 - 1) / h2 * h2, rows * h2);
    const int64_t nx = (pw + bw - 1) / bw, ny = (ph + bh - 1) / bh;
    std::vector<TDirectDrawSurface*> blocks;
    for (int64_t by = 0; by < ny; ++by) {
        for (int64_t bx = 0; bx < nx; ++bx) {
            const int64_t bwidth = std::min(bw, std::max<int64_t>(pw - bx * bw, 0));
            const int64_t bheight = std::min(bh, std::max<int64_t>(ph - by * bh, 0));
            blocks.push_back(&AddBlock(Bounds(static_cast<int32_t>(bx * bw), static_cast<int32_t>(by * bh),
                                              static_cast<int32_t>(bwidth == 0 ? bw : bwidth),
                                              static_cast<int32_t>(bheight == 0 ? bh : bheight))));
        }
    }
    for (int64_t y = 0; y < rows; ++y) {
        for (int64_t x = 0; x < columns; ++x) {
            const int64_t px = x * w2, py = y * h2;
            patterns_.push_back({rect(px % bw, py % bh), blocks[static_cast<std::size_t>(px / bw + py / bh * nx)]});
        }
    }
}

void TPictureCollectionItem::Draw(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t patternIndex) {
    const auto* p = prepared_ ? PatternAt(patternIndex) : nullptr;
    if (p && dest) {
        dest->Draw(x, y, p->Rect, p->Surface, Transparent);
    }
}

void TPictureCollectionItem::DrawScaled(TDirectDrawSurface* dest, const TRect& d, int32_t patternIndex) {
    const auto* p = prepared_ ? PatternAt(patternIndex) : nullptr;
    if (p && dest) {
        dest->DrawScaled(d, p->Rect, p->Surface, Transparent);
    }
}

void TPictureCollectionItem::DrawBlended(TDirectDrawSurface* dest, const TRect& d, int32_t patternIndex,
                                         int32_t alpha) {
    const auto* p = prepared_ ? PatternAt(patternIndex) : nullptr;
    if (p && dest) {
        dest->DrawBlended(d, p->Rect, p->Surface, Transparent, alpha);
    }
}

void TPictureCollectionItem::DrawTurned(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                                        int32_t patternIndex, double centerX, double centerY, int32_t angle) {
    const auto* p = prepared_ ? PatternAt(patternIndex) : nullptr;
    if (p && dest) {
        dest->DrawTurned(x, y, width, height, p->Rect, p->Surface, centerX, centerY, Transparent, angle);
    }
}

void TPictureCollectionItem::DrawTurnedBlended(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t width,
                                               int32_t height, int32_t patternIndex, double centerX, double centerY,
                                               int32_t angle, int32_t alpha) {
    const auto* p = prepared_ ? PatternAt(patternIndex) : nullptr;
    if (p && dest) {
        dest->DrawTurnedBlended(x, y, width, height, p->Rect, p->Surface, centerX, centerY, Transparent, angle, alpha);
    }
}

TPictureCollection::TPictureCollection(TComponent* owner) : owner_(owner) {}

TPictureCollection::~TPictureCollection() = default;

TPictureCollectionItem& TPictureCollection::ItemAt(int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw EListError(index);
    }
    return *items_[static_cast<std::size_t>(index)];
}

TPictureCollectionItem& TPictureCollection::Add() {
    items_.push_back(std::make_unique<TPictureCollectionItem>(*this));
    return *items_.back();
}

int32_t TPictureCollection::IndexOf(const TPictureCollectionItem& item) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == &item) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void TPictureCollection::Clear() {
    items_.clear();
}

bool TPictureCollection::Initialized() const {
    return dxDraw_ && dxDraw_->IsInitialized() && dxDraw_->DDraw();
}

void TPictureCollection::PrepareAll(TCustomDXDraw* dxDraw) {
    ReleaseAll();
    dxDraw_ = dxDraw;
    if (!Initialized()) {
        // A display that is not initialised is not kept: the collection stays detached.
        dxDraw_ = nullptr;
        throw EPictureCollectionError(FormatMessage(SCannotInitialized, std::string("TPictureCollection")));
    }
    for (const auto& item : items_) {
        item->Prepare();
    }
}

void TPictureCollection::ReleaseAll() {
    for (const auto& item : items_) {
        item->Release();
    }
    dxDraw_ = nullptr;
}

void TPictureCollection::BuildAll() {
    for (const auto& item : items_) {
        item->BuildPatterns();
    }
}
