#include "platform/platform.h"

#include <future>

#include "winapi/cursor.h"

namespace platform {

MenuItem& Menu::AddItem(std::string title, MenuReceiver* target) {
    auto item = std::make_unique<MenuItem>();
    item->title = std::move(title);
    item->target = target;
    item->menu = this;
    mItems.push_back(std::move(item));
    return *mItems.back();
}

MenuItem& Menu::AddSeparatorItem() {
    MenuItem& item = AddItem({}, nullptr);
    item.separator = true;
    return item;
}

void Menu::SetSubmenu(MenuItem& item, std::unique_ptr<Menu> submenu) { item.submenu = std::move(submenu); }

int Menu::IndexOfItem(const MenuItem* item) const {
    for (size_t i = 0; i < mItems.size(); ++i)
        if (mItems[i].get() == item) return int(i);
    return -1;
}

MenuItem* Menu::ItemAt(int index) const {
    return index >= 0 && index < int(mItems.size()) ? mItems[size_t(index)].get() : nullptr;
}

Backend::Backend() : mMainThread(std::this_thread::get_id()) {}

void Backend::PerformOnMainThreadAndWait(const std::function<void()>& work) {
    if (IsMainThread()) {
        work();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    {
        std::lock_guard lock(mQueueMutex);
        mQueue.push_back([&work, done] {
            try {
                work();
                done->set_value();
            } catch (...) {
                done->set_exception(std::current_exception());
            }
        });
    }
    WakeMainThread();
    finished.get();
}

void Backend::RunPendingMainThreadWork() {
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard lock(mQueueMutex);
            if (mQueue.empty()) return;
            work = std::move(mQueue.front());
            mQueue.pop_front();
        }
        work();
    }
}

namespace {
Backend* gBackend = nullptr;
}

Backend* CurrentBackend() { return gBackend; }

void InstallBackend(Backend* backend) {
    gBackend = backend;
    if (!backend) {
        SetCursorChangeHandler(nullptr);
        return;
    }
    // Cursor changes may come from any thread; the window system wants the main one.
    SetCursorChangeHandler(
        [backend](int id) { backend->PerformOnMainThreadAndWait([backend, id] { backend->SetCursor(id); }); });
}

}  // namespace platform
