#include "ui/browser/webkit/LivenessWatch.h"

#include <utility>

#include "ui/browser/webkit/EngineMemory.h"
#include "ui/browser/webkit/EngineProcesses.h"

namespace zq {

namespace {

constexpr guint kQuestionMs = 1000;
constexpr guint kSettledQuestionMs = 10000;

}  // namespace

LivenessWatch::LivenessWatch(WebKitWebView* view, const EngineMemoryWatch& memory, Settled settled, GivenUp givenUp)
    : view_(view), memory_(memory), settled_(std::move(settled)), givenUp_(std::move(givenUp)) {
    timer_ = g_timeout_add(kQuestionMs, Ask, this);
}

LivenessWatch::~LivenessWatch() {
    Stop();
    g_cancellable_cancel(questions_);
    g_object_unref(questions_);
}

void LivenessWatch::Stop() {
    if (timer_) g_source_remove(std::exchange(timer_, 0u));
}

EngineLiveness::Reading LivenessWatch::EngineNow() const {
    return {EngineLiveness::Clock::now(), WebProcessCpuTime(), memory_.Resident()};
}

gboolean LivenessWatch::Ask(gpointer self) {
    auto* watch = static_cast<LivenessWatch*>(self);
    if (!watch->rule_.AnswerDue()) {
        watch->rule_.Asked(watch->EngineNow());
        watch->askedSettled_ = watch->settled_();
        // In a world of its own, out of the page's reach.
        webkit_web_view_evaluate_javascript(watch->view_, "0", -1, "zentra-quota", nullptr, watch->questions_,
                                            Answered, watch);
        return G_SOURCE_CONTINUE;
    }
    const EngineLiveness::Verdict verdict = watch->rule_.Judge(watch->EngineNow());
    if (verdict == EngineLiveness::Verdict::Waiting) return G_SOURCE_CONTINUE;
    watch->timer_ = 0;
    watch->givenUp_(verdict);
    return G_SOURCE_REMOVE;
}

// Any answer, a script error too, shows that the web process is at work.
void LivenessWatch::Answered(GObject* view, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error)) {
        g_object_unref(value);
    }
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_clear_error(&error);
    if (cancelled) return;  // the watch is gone
    auto* watch = static_cast<LivenessWatch*>(self);
    watch->rule_.Answered();
    // Answered after the page had settled: from now on, ask seldom.
    if (watch->askedSettled_ && !watch->seldom_ && watch->timer_) {
        watch->seldom_ = true;
        g_source_remove(watch->timer_);
        watch->timer_ = g_timeout_add(kSettledQuestionMs, Ask, watch);
    }
}

}  // namespace zq
