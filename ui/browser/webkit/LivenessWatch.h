#pragma once

#include <functional>

#include <webkit2/webkit2.h>

#include "ui/browser/webkit/EngineLiveness.h"

namespace zq {

class EngineMemoryWatch;

// Asks the view's web process a trivial question, every second until the page has settled
// (loaded, shown and answered once since), every 10 s after that, so that an idle window
// does not wake the engine every second; and tells once the page is given up on by
// EngineLiveness's rule.
class LivenessWatch {
public:
    using Settled = std::function<bool()>;
    using GivenUp = std::function<void(EngineLiveness::Verdict)>;

    LivenessWatch(WebKitWebView* view, const EngineMemoryWatch& memory, Settled settled, GivenUp givenUp);
    ~LivenessWatch();

    LivenessWatch(const LivenessWatch&) = delete;
    LivenessWatch& operator=(const LivenessWatch&) = delete;

    // No more questions: the page has been given up on for some reason.
    void Stop();

private:
    EngineLiveness::Reading EngineNow() const;
    static gboolean Ask(gpointer self);
    static void Answered(GObject* view, GAsyncResult* result, gpointer self);

    WebKitWebView* view_;
    const EngineMemoryWatch& memory_;
    Settled settled_;
    GivenUp givenUp_;
    EngineLiveness rule_;
    guint timer_ = 0;
    bool askedSettled_ = false;  // the unanswered question went out once the page had settled
    bool seldom_ = false;        // questions are now the seldom ones
    GCancellable* questions_ = g_cancellable_new();
};

}  // namespace zq
