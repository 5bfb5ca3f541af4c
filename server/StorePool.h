#pragma once

#include "server/RunStore.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Connections to the database for the HTTP front's threads: each request borrows a store and
// gives it back, so that a few connections serve every thread.
class StorePool {
public:
    // Opens `size` connections to `database` (its schema brought up to date once). Raises SqlError.
    StorePool(const std::string& database, std::size_t size);

    class Borrowed {
    public:
        Borrowed(StorePool& pool, std::unique_ptr<RunStore> store) : pool_(pool), store_(std::move(store)) {}
        ~Borrowed() { pool_.GiveBack(std::move(store_)); }
        Borrowed(const Borrowed&) = delete;
        Borrowed& operator=(const Borrowed&) = delete;
        RunStore* operator->() { return store_.get(); }
        RunStore& operator*() { return *store_; }

    private:
        StorePool& pool_;
        std::unique_ptr<RunStore> store_;
    };

    // A store for this thread's request, waiting while every one is out.
    Borrowed Borrow();

private:
    void GiveBack(std::unique_ptr<RunStore> store);

    std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<RunStore>> free_;
};
