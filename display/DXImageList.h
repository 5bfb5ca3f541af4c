#pragma once

#include "display/DXDrawNotice.h"
#include "display/PictureCollection.h"
#include "platform/app/Component.h"

class TCustomDXDraw;

// An image list: owns its picture items and follows a display, preparing them when the
// display initialises, rebuilding their patterns when its surfaces are restored and
// releasing them when it goes.
class TCustomDXImageList : public TComponent, private TDXDrawListener {
public:
    explicit TCustomDXImageList(TComponent* owner);
    ~TCustomDXImageList() override;

    TCustomDXDraw* DXDraw() const { return dxDraw_; }
    void SetDXDraw(TCustomDXDraw* dxDraw);
    TPictureCollection& Items() { return items_; }
    const TPictureCollection& Items() const { return items_; }

    void Notification(TComponent* component, TOperation operation) override;

private:
    void DXDrawNotify(TCustomDXDraw& sender, TDisplayNotice notice) override;

    TCustomDXDraw* dxDraw_ = nullptr;
    TPictureCollection items_;
};

class TDXImageList : public TCustomDXImageList {
public:
    using TCustomDXImageList::TCustomDXImageList;
};
