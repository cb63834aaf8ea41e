#pragma once

#include "ui/controls/observer_impl_base.h"

#include <cstddef>
#include <map>

// ObserverImpl: receivers by a key that grows with each addition, so publications reach them in
// the order they were added. A receiver may leave (or make another leave) while a publication
// runs: the walk continues after the last key it visited and never touches a removed entry.
//
// Thread: one thread at a time (the UI thread in this program).

template <typename ReturnT, typename ParamT>
class ObserverImpl : public ObserverImplBase<ReturnT, ParamT> {
public:
    using Receiver = typename ObserverImplBase<ReturnT, ParamT>::Receiver;

    void AddListener(Receiver* receiver) override {
        if (receiver == nullptr) {
            return;
        }
        receivers_[nextKey_] = receiver;
        receiver->Subscribe(this);
        ++nextKey_;
    }

    void RemoveListener(Receiver* receiver) override {
        if (receiver == nullptr) {
            return;
        }
        for (auto it = receivers_.begin(); it != receivers_.end(); ++it) {
            if (it->second == receiver) {
                receivers_.erase(it);
                return;
            }
        }
    }

    ReturnT Publish(ParamT param) override {
        ForEach([&param](Receiver* receiver) { receiver->OnPublish(param); });
        return ReturnT();
    }

    ReturnT PublishFrom(ParamT param) override {
        ForEach([this, &param](Receiver* receiver) { receiver->OnPublishFrom(param, this); });
        return ReturnT();
    }

    std::size_t ListenerCount() const { return receivers_.size(); }

private:
    template <typename Call>
    void ForEach(Call call) {
        for (auto it = receivers_.begin(); it != receivers_.end();) {
            const int key = it->first;
            call(it->second);
            it = receivers_.upper_bound(key);
        }
    }

    std::map<int, Receiver*> receivers_;
    int nextKey_ = 0;
};
