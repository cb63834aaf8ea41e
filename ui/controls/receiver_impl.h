#pragma once

#include "ui/controls/observer_impl_base.h"

#include <map>

// ReceiverImpl: remembers every observer that added it, one entry per addition, so that
// Unsubscribe removes it as often as it was added. A deriving class overrides OnPublish (and
// OnPublishFrom) and calls Unsubscribe before it goes: an observer keeps plain pointers.
//
// Thread: one thread at a time (the UI thread in this program).

template <typename ReturnT, typename ParamT>
class ReceiverImpl : public ReceiverImplBase<ReturnT, ParamT> {
public:
    using Observer = typename ReceiverImplBase<ReturnT, ParamT>::Observer;

    int Subscribe(Observer* observer) override {
        observers_[nextKey_] = observer;
        return ++nextKey_;
    }

    void Unsubscribe() override {
        for (const auto& entry : observers_) {
            entry.second->RemoveListener(this);
        }
    }

    ReturnT OnPublish(ParamT) override { return ReturnT(); }
    ReturnT OnPublishFrom(ParamT, Observer*) override { return ReturnT(); }

private:
    std::map<int, Observer*> observers_;
    int nextKey_ = 0;
};
