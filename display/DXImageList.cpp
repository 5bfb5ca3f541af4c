#include "display/DXImageList.h"

#include "display/DXDraw.h"

TCustomDXImageList::TCustomDXImageList(TComponent* owner) : TComponent(owner), items_(this) {}

TCustomDXImageList::~TCustomDXImageList() {
    SetDXDraw(nullptr);
}

void TCustomDXImageList::SetDXDraw(TCustomDXDraw* dxDraw) {
    if (dxDraw_) {
        dxDraw_->RemoveListener(this);
    }
    // Whatever the old display told us, nothing of it is kept.
    items_.ReleaseAll();
    dxDraw_ = dxDraw;
    if (dxDraw_) {
        dxDraw_->AddListener(this);
    }
}

void TCustomDXImageList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && dxDraw_ && component == static_cast<TComponent*>(dxDraw_)) {
        SetDXDraw(nullptr);
    }
}

void TCustomDXImageList::DXDrawNotify(TCustomDXDraw& sender, TDisplayNotice notice) {
    switch (notice) {
    case TDisplayNotice::Destroying:
        SetDXDraw(nullptr);
        break;
    case TDisplayNotice::Initialized:
        items_.PrepareAll(&sender);
        break;
    case TDisplayNotice::Finalizing:
        items_.ReleaseAll();
        break;
    case TDisplayNotice::Restored:
        items_.BuildAll();
        break;
    default:
        break;
    }
}
