#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zq::test {

// A usage server on 127.0.0.1 that records what it is asked and answers as told.
class TestUsageServer {
public:
    // Endless: an HTML body that never ends, sent as fast as the connection takes it.
    // Huge: a 50 MB page of declared length.
    enum class Behaviour { Page, ServerError, NeverAnswer, Slow, Endless, Huge };

    struct Request {
        std::string method;
        std::string target;  // exactly as sent, before any decoding
    };

    // The page's background: a colour that nothing else in the window has.
    static constexpr const char* kPageColour = "#2a7b4f";

    explicit TestUsageServer(Behaviour behaviour = Behaviour::Page, std::string body = {})
        : behaviour_(behaviour), body_(std::move(body)) {
        server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            Handle(request, response);
        });
        // One request a connection: a kept-alive connection would hold up stopping.
        server_.set_keep_alive_max_count(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }

    ~TestUsageServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        released_.notify_all();
        server_.stop();
        thread_.join();
    }

    // Serves the path as a file to save under the given name, as a download server would.
    void ServeDownload(const std::string& path, const std::string& fileName) {
        std::lock_guard lock(mutex_);
        downloads_[path] = fileName;
    }

    // Sends every request to this address instead, as a login portal would.
    void RedirectTo(const std::string& location) {
        std::lock_guard lock(mutex_);
        redirect_ = location;
    }

    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

    std::vector<Request> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Handle(const httplib::Request& request, httplib::Response& response) {
        std::unique_lock lock(mutex_);
        requests_.push_back({request.method, request.target});
        if (const auto download = downloads_.find(request.path); download != downloads_.end()) {
            response.set_header("Content-Disposition", "attachment; filename=\"" + download->second + "\"");
            response.set_content(std::string(4096, 'x'), "application/octet-stream");
            return;
        }
        if (!redirect_.empty()) {
            response.set_redirect(redirect_);
            return;
        }
        switch (behaviour_) {
            case Behaviour::NeverAnswer:
                released_.wait(lock, [this] { return stopping_; });
                return;
            case Behaviour::Slow:
                released_.wait_for(lock, std::chrono::seconds(10), [this] { return stopping_; });
                break;
            case Behaviour::ServerError:
                response.status = 500;
                break;
            case Behaviour::Page:
                break;
            case Behaviour::Endless:
                response.set_chunked_content_provider("text/html", [this](std::size_t, httplib::DataSink& sink) {
                    static const std::string chunk = "<p>" + std::string(64 * 1024, 'k') + "</p>";
                    return !Stopping() && sink.write(chunk.data(), chunk.size());
                });
                return;
            case Behaviour::Huge: {
                constexpr std::size_t size = 50u * 1024 * 1024;
                response.set_content_provider(size, "text/html",
                    [this](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                        static const std::string block(64 * 1024, 'h');
                        return !Stopping() && sink.write(block.data(), std::min(length, block.size())) && offset < size;
                    });
                return;
            }
        }
        response.set_content(body_.empty() ? DefaultPage() : body_, "text/html; charset=utf-8");
    }

    bool Stopping() const {
        std::lock_guard lock(mutex_);
        return stopping_;
    }

    static std::string DefaultPage() {
        return std::string("<!DOCTYPE html><html><body style=\"margin:0;background:") + kPageColour +
               "\"><p>Pemakaian kuota 12,5 GB</p></body></html>";
    }

    Behaviour behaviour_;
    std::string body_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool stopping_ = false;
    std::vector<Request> requests_;
    std::map<std::string, std::string> downloads_;
    std::string redirect_;
};

// An https server on 127.0.0.1 with a certificate of its own making, which no system
// trusts. It counts the requests it is asked, over connections that got that far.
class UntrustedTlsServer {
public:
    UntrustedTlsServer() : server_(ZQ_TEST_TLS_DIR "/cert.pem", ZQ_TEST_TLS_DIR "/key.pem") {
        server_.Get(".*", [this](const httplib::Request&, httplib::Response& response) {
            ++requests_;
            response.set_content("<p>halaman palsu</p>", "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }

    ~UntrustedTlsServer() {
        server_.stop();
        thread_.join();
    }

    std::string Address() const { return "https://127.0.0.1:" + std::to_string(port_) + "/"; }
    int Requests() const { return requests_; }

private:
    httplib::SSLServer server_;
    int port_ = 0;
    std::atomic<int> requests_ = 0;
    std::thread thread_;
};

// A loopback port with nobody listening: connections to it are refused.
std::string RefusingHost();

}  // namespace zq::test
