#include "server/StorePool.h"

StorePool::StorePool(const std::string& database, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        free_.push_back(RunStore::Open(database));
    }
}

StorePool::Borrowed StorePool::Borrow() {
    std::unique_lock lock(mutex_);
    returned_.wait(lock, [this] { return !free_.empty(); });
    std::unique_ptr<RunStore> store = std::move(free_.back());
    free_.pop_back();
    return Borrowed(*this, std::move(store));
}

void StorePool::GiveBack(std::unique_ptr<RunStore> store) {
    {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(store));
    }
    returned_.notify_one();
}
