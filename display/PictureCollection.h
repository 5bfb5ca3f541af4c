#pragma once

#include "display/DIB.h"
#include "display/DXDrawNotice.h"
#include "platform/base/Exception.h"
#include "platform/base/Rect.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TComponent;
class TCustomDXDraw;
class TDirectDrawSurface;
class TPictureCollection;

class EPictureCollectionError : public Exception {
public:
    using Exception::Exception;
};

// One pattern of a picture item: its rectangle inside one of the item's surfaces.
struct TPictureCollectionItemPattern {
    TRect Rect;
    TDirectDrawSurface* Surface = nullptr;
};

// One picture cut into equal patterns, kept in surfaces of the display while prepared.
class TPictureCollectionItem {
public:
    explicit TPictureCollectionItem(TPictureCollection& collection);
    ~TPictureCollectionItem();
    TPictureCollectionItem(const TPictureCollectionItem&) = delete;
    TPictureCollectionItem& operator=(const TPictureCollectionItem&) = delete;

    TPictureCollection& Collection() const { return collection_; }

    std::string Name;
    int32_t PatternHeight = 0;
    int32_t PatternWidth = 0;
    int32_t SkipHeight = 0;
    int32_t SkipWidth = 0;
    bool SystemMemory = false;
    bool Transparent = true;

    const TPicture& Picture() const { return picture_; }
    void SetPicture(const TPicture& picture);
    TColor TransparentColor() const { return transparentColor_; }
    // Sets the colour key of every surface to the new colour; one that fails is skipped.
    void SetTransparentColor(TColor color);
    // Copies pattern geometry, memory placement, transparency and picture, not the name.
    void Assign(const TPictureCollectionItem& source);

    bool Prepared() const { return prepared_; }
    // The pattern size: PatternWidth when above 0, else the picture's width; likewise the height.
    int32_t Width() const;
    int32_t Height() const;
    int32_t PatternCount() const { return static_cast<int32_t>(patterns_.size()); }
    // (0, 0, 0, 0) and null outside 0 .. PatternCount - 1.
    TRect PatternRect(int32_t index) const;
    TDirectDrawSurface* PatternSurface(int32_t index) const;
    const std::vector<std::unique_ptr<TDirectDrawSurface>>& Surfaces() const { return surfaces_; }

    void Prepare();
    void Release();
    // Cuts the picture into patterns in new surfaces; raises EPictureCollectionError (naming
    // the item) when the geometry asks for more patterns than one item may have.
    void BuildPatterns();
    // The number of patterns BuildPatterns will cut with the present picture and geometry.
    int64_t PlannedPatternCount() const;
    // Raises the error of BuildPatterns when PlannedPatternCount is above the limit.
    void CheckPatternLimit() const;
    // The item's name, or its list and position when it has none ("FXList.Items[3]").
    std::string DisplayName() const;

    // Draw calls: nothing happens unless the item is prepared and the pattern exists.
    void Draw(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t patternIndex);
    void DrawScaled(TDirectDrawSurface* dest, const TRect& d, int32_t patternIndex);
    void DrawBlended(TDirectDrawSurface* dest, const TRect& d, int32_t patternIndex, int32_t alpha);
    void DrawTurned(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t width, int32_t height, int32_t patternIndex,
                    double centerX, double centerY, int32_t angle);
    void DrawTurnedBlended(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                           int32_t patternIndex, double centerX, double centerY, int32_t angle, int32_t alpha);

private:
    void ClearSurfaces();
    TDirectDrawSurface& AddBlock(const TRect& r);
    const TPictureCollectionItemPattern* PatternAt(int32_t index) const;

    TPictureCollection& collection_;
    TPicture picture_;
    TColor transparentColor_ = 0;
    bool prepared_ = false;
    std::vector<TPictureCollectionItemPattern> patterns_;
    std::vector<std::unique_ptr<TDirectDrawSurface>> surfaces_;
};

// The ordered picture items of one image list.
class TPictureCollection {
public:
    explicit TPictureCollection(TComponent* owner = nullptr);
    ~TPictureCollection();

    TComponent* Owner() const { return owner_; }
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // The item at `index`; raises EListError "List index out of bounds (%d)" outside the list.
    TPictureCollectionItem& ItemAt(int32_t index) const;
    TPictureCollectionItem& Add();
    void Clear();
    // The position of `item` in the list, -1 when it is not one of its items.
    int32_t IndexOf(const TPictureCollectionItem& item) const;

    // Raw colour table as stored with the list; kept, not used for drawing.
    std::array<uint8_t, 1024> ColorTable{};

    TCustomDXDraw* DXDraw() const { return dxDraw_; }
    // Set and its display initialised.
    bool Initialized() const;
    void PrepareAll(TCustomDXDraw* dxDraw);
    void ReleaseAll();
    void BuildAll();

private:
    TComponent* owner_;
    TCustomDXDraw* dxDraw_ = nullptr;
    std::vector<std::unique_ptr<TPictureCollectionItem>> items_;
};
