#include "platform/text/TextImageCache.h"

namespace platform {

const CoverageImage* TextImageCache::Find(const std::string& key) {
    auto it = index_.find(key);
    if (it == index_.end()) {
        return nullptr;
    }
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->second;
}

const CoverageImage& TextImageCache::Add(const std::string& key, CoverageImage image) {
    if (image.Alpha.size() > kLargestImage) {
        uncached_ = std::move(image);
        return uncached_;
    }
    if (auto it = index_.find(key); it != index_.end()) {
        it->second->second = std::move(image);
        order_.splice(order_.begin(), order_, it->second);
        return order_.front().second;
    }
    if (order_.size() >= kEntries) {
        index_.erase(order_.back().first);
        order_.pop_back();
    }
    order_.emplace_front(key, std::move(image));
    index_.emplace(key, order_.begin());
    return order_.front().second;
}

} // namespace platform
