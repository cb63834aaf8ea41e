#include "ui/controls/skin_change_observer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Records what reaches it, in order, under its own name.
class CRecordingReceiver : public SkinChangeReceiver {
public:
    CRecordingReceiver(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    int OnPublish(SkinChangedParam param) override {
        log_.push_back(name_ + ":" + (param.isColor ? std::to_string(param.color) : param.image));
        if (onPublish) {
            onPublish();
        }
        return 1;
    }
    int OnPublishFrom(SkinChangedParam param, Observer* from) override {
        log_.push_back(name_ + (from != nullptr ? " from:" : ":") + param.image);
        return 1;
    }

    std::function<void()> onPublish;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

SkinChangedParam Image(const std::string& image) {
    return SkinChangedParam{false, 0, image};
}

TEST(SkinChangeObserverTest, ReceiversAreCalledInOrderOncePerAddition) {
    SkinChangeObserver observer;
    std::vector<std::string> log;
    // Publishing with nobody listening does nothing.
    EXPECT_EQ(observer.Publish(Image("a.png")), 0);
    CRecordingReceiver first("first", log);
    CRecordingReceiver second("second", log);
    observer.AddListener(nullptr);
    observer.AddListener(&first);
    observer.AddListener(&second);
    observer.AddListener(&first);
    EXPECT_EQ(observer.ListenerCount(), 3u);
    EXPECT_EQ(observer.Publish(SkinChangedParam{true, 0xFF112233, {}}), 0);
    EXPECT_EQ(observer.PublishFrom(Image("b.png")), 0);
    const std::string colour = std::to_string(0xFF112233u);
    EXPECT_EQ(log, (std::vector<std::string>{"first:" + colour, "second:" + colour, "first:" + colour,
                                             "first from:b.png", "second from:b.png", "first from:b.png"}));
    // Removing takes the first entry only; leaving takes every entry the receiver was added with.
    log.clear();
    observer.RemoveListener(&first);
    observer.RemoveListener(nullptr);
    observer.Publish(Image("c.png"));
    EXPECT_EQ(log, (std::vector<std::string>{"second:c.png", "first:c.png"}));
    first.Unsubscribe();
    EXPECT_EQ(observer.ListenerCount(), 1u);
    second.Unsubscribe();
    second.Unsubscribe();
    EXPECT_EQ(observer.ListenerCount(), 0u);
}

TEST(SkinChangeObserverTest, AReceiverMayLeaveWhileAPublicationRuns) {
    SkinChangeObserver observer;
    std::vector<std::string> log;
    CRecordingReceiver first("first", log);
    CRecordingReceiver second("second", log);
    CRecordingReceiver third("third", log);
    observer.AddListener(&first);
    observer.AddListener(&second);
    observer.AddListener(&third);
    // The first removes itself and the second: the walk goes on with the third.
    first.onPublish = [&] {
        first.Unsubscribe();
        second.Unsubscribe();
    };
    observer.Publish(Image("d.png"));
    EXPECT_EQ(log, (std::vector<std::string>{"first:d.png", "third:d.png"}));
    EXPECT_EQ(observer.ListenerCount(), 1u);
    third.Unsubscribe();
}

TEST(SkinChangeObserverTest, TheProcessWideObserverIsOneObject) {
    EXPECT_EQ(&GetSkinChangeObserver(), &GetSkinChangeObserver());
}

}  // namespace
