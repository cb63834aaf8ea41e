#pragma once

// The two halves of a publish/subscribe pair between windows that do not know each other: an
// observer keeps receivers and hands each publication to them; a receiver keeps the observers it
// was added to so that it can leave them all at once.
//
// Thread: the thread that publishes (the UI thread for every use in this program).

template <typename ReturnT, typename ParamT>
class ReceiverImplBase;

template <typename ReturnT, typename ParamT>
class ObserverImplBase {
public:
    using Receiver = ReceiverImplBase<ReturnT, ParamT>;

    // Adds the receiver (null is ignored); a receiver added twice is called twice.
    virtual void AddListener(Receiver* receiver) = 0;
    // Removes the first entry holding the receiver (null is ignored).
    virtual void RemoveListener(Receiver* receiver) = 0;
    // Hands a copy of the message to every receiver in the order they were added.
    virtual ReturnT Publish(ParamT param) = 0;
    // The same, telling each receiver which observer it came from.
    virtual ReturnT PublishFrom(ParamT param) = 0;
    virtual ~ObserverImplBase() = default;
};

template <typename ReturnT, typename ParamT>
class ReceiverImplBase {
public:
    using Observer = ObserverImplBase<ReturnT, ParamT>;

    // Remembers the observer that added this receiver; returns the new next key.
    virtual int Subscribe(Observer* observer) = 0;
    // Leaves every observer that added this receiver.
    virtual void Unsubscribe() = 0;
    virtual ReturnT OnPublish(ParamT param) = 0;
    virtual ReturnT OnPublishFrom(ParamT param, Observer* observer) = 0;
    virtual ~ReceiverImplBase() = default;
};
