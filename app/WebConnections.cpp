#include "app/WebConnections.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

namespace app {

namespace {

using Clock = std::chrono::steady_clock;

// Where a request's head ends in `received` (just past its blank line), or npos while it has
// not come in whole. Lines end at LF, as the library reads them, and the blank line that
// ends the headers is CR LF.
std::size_t RequestHeadEnd(std::string_view received) {
    const std::size_t requestLine = received.find('\n');
    if (requestLine == std::string_view::npos) {
        return std::string_view::npos;
    }
    const std::size_t blank = received.find("\n\r\n", requestLine);
    return blank == std::string_view::npos ? blank : blank + 3;
}

bool IsRangeField(std::string_view line) {
    constexpr std::string_view kName = "range:";
    if (line.size() < kName.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kName.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) {
            return false;
        }
    }
    return true;
}

// The request head without its Range fields. Every answer goes whole, which a server may
// always do, so that no request makes the library build a many-part answer in memory (six
// hundred ranges of a 5 MB drawing are 3 GB).
std::string WithoutRanges(std::string_view head) {
    std::string kept;
    kept.reserve(head.size());
    for (std::size_t at = 0; at < head.size();) {
        const std::size_t end = std::min(head.find('\n', at), head.size() - 1) + 1;
        const std::string_view line = head.substr(at, end - at);
        if (at == 0 || !IsRangeField(line)) {
            kept += line;
        }
        at = end;
    }
    return kept;
}

// True when the request head announces a body: a length above zero, or chunks.
bool HasBody(std::string_view head) {
    bool body = false;
    for (std::size_t at = head.find('\n'); at != std::string_view::npos && at + 1 < head.size();) {
        const std::size_t end = std::min(head.find('\n', at + 1), head.size());
        std::string line(head.substr(at + 1, end - at - 1));
        for (char& c : line) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (line.rfind("transfer-encoding:", 0) == 0) {
            body = true;
        } else if (line.rfind("content-length:", 0) == 0) {
            const std::size_t digit = line.find_first_not_of(" \t", 15);
            body = body || (digit != std::string::npos &&
                            line.find_first_not_of("0 \t\r", digit) != std::string::npos);
        }
        at = end;
    }
    return body;
}

// A short answer sent on the way out, if the socket takes it at once.
void Tell(int socket, std::string_view status) {
    std::string answer = "HTTP/1.1 ";
    answer.append(status).append("\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
    [[maybe_unused]] const ssize_t sent =
        ::send(socket, answer.data(), answer.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

// The socket's address and port, or its peer's.
void AddressOf(int socket, bool peer, std::string& ip, int& port) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if ((peer ? ::getpeername(socket, raw, &length) : ::getsockname(socket, raw, &length)) != 0) {
        return;
    }
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        port = ntohs(v4->sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        port = ntohs(v6->sin6_port);
    }
    ip = text;
}

// A connection as the library reads and writes a request: first the bytes already
// received, then the socket, each wait bounded by the stall limit and all of them by the
// exchange's deadline.
class ConnectionStream final : public httplib::Stream {
  public:
    ConnectionStream(int socket, std::string received, const ConnectionLimits& limits)
        : socket_(socket),
          received_(std::move(received)),
          stall_(limits.stall),
          deadline_(Clock::now() + limits.exchange),
          readDeadline_(std::min(deadline_, Clock::now() + limits.body)) {}

    bool is_readable() const override {
        return offset_ < received_.size() || Wait(POLLIN, readDeadline_);
    }
    bool is_writable() const override { return Wait(POLLOUT, deadline_); }

    ssize_t read(char* ptr, size_t size) override {
        if (offset_ < received_.size()) {
            const std::size_t n = std::min(size, received_.size() - offset_);
            std::memcpy(ptr, received_.data() + offset_, n);
            offset_ += n;
            return static_cast<ssize_t>(n);
        }
        for (;;) {
            const ssize_t n = ::recv(socket_, ptr, size, 0);
            if (n >= 0) {
                return n;
            }
            if (errno != EINTR && !(IsWouldBlock() && Wait(POLLIN, readDeadline_))) {
                return -1;
            }
        }
    }

    ssize_t write(const char* ptr, size_t size) override {
        for (;;) {
            const ssize_t n = ::send(socket_, ptr, size, MSG_NOSIGNAL);
            if (n >= 0) {
                return n;
            }
            if (errno != EINTR && !(IsWouldBlock() && Wait(POLLOUT, deadline_))) {
                return -1;
            }
        }
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        AddressOf(socket_, true, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        AddressOf(socket_, false, ip, port);
    }
    socket_t socket() const override { return socket_; }

    // What was received and not read: the start of the next request, when a client sends
    // it before this one's answer.
    std::string Unread() const { return received_.substr(offset_); }

  private:
    static bool IsWouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK; }

    // Waits for `events` no longer than the stall limit and no later than `deadline`.
    bool Wait(short events, Clock::time_point deadline) const {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const auto wait = std::min<std::chrono::milliseconds>(stall_, left);
        if (wait.count() <= 0) {
            return false;
        }
        pollfd polled{socket_, events, 0};
        int ready = 0;
        do {
            ready = ::poll(&polled, 1, static_cast<int>(wait.count()));
        } while (ready < 0 && errno == EINTR);
        return ready > 0;
    }

    int socket_;
    std::string received_;
    std::size_t offset_ = 0;
    std::chrono::milliseconds stall_;
    Clock::time_point deadline_;
    // The reading of the request: its body comes in whole by then, or not at all.
    Clock::time_point readDeadline_;
};

}  // namespace

WebConnections::WebConnections(ConnectionLimits limits, Serve serve)
    : limits_(limits), serve_(std::move(serve)) {
    if (::pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe");
    }
    watcher_ = std::thread([this] { Watch(); });
    for (int i = 0; i < std::max(1, limits_.workers); ++i) {
        workers_.emplace_back([this] { Work(); });
    }
}

WebConnections::~WebConnections() {
    Stop();
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void WebConnections::Add(int socket) {
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(socket);
            return;
        }
        ++open_;
        Connection connection;
        connection.socket = socket;
        incoming_.push_back(std::move(connection));
    }
    Wake();
}

void WebConnections::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        // A worker waiting on its client wakes up and lets go.
        for (const int socket : answering_) {
            ::shutdown(socket, SHUT_RDWR);
        }
    }
    ready_changed_.notify_all();
    Wake();
    if (watcher_.joinable()) {
        watcher_.join();
    }
    for (std::thread& worker : workers_) {
        if (worker.joinable()) {
            worker.join();
        }
    }
    for (auto* list : {&waiting_, &incoming_}) {
        for (Connection& connection : *list) {
            Close(connection);
        }
        list->clear();
    }
    for (auto* queue : {&ready_, &uploads_}) {
        for (Connection& connection : *queue) {
            Close(connection);
        }
        queue->clear();
    }
}

void WebConnections::Wake() {
    const char byte = 1;
    // A full pipe already wakes the watcher.
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], &byte, 1);
}

void WebConnections::Close(Connection& connection) {
    ::close(connection.socket);
    connection.socket = -1;
    std::lock_guard lock(mutex_);
    --open_;
}

void WebConnections::Hand(Connection connection) {
    const std::size_t end = RequestHeadEnd(connection.received);
    const std::string head = WithoutRanges(std::string_view(connection.received).substr(0, end));
    connection.upload = HasBody(head);
    connection.received = head + connection.received.substr(end);
    {
        std::lock_guard lock(mutex_);
        (connection.upload ? uploads_ : ready_).push_back(std::move(connection));
    }
    ready_changed_.notify_all();
}

bool WebConnections::Receive(Connection& connection) {
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::recv(connection.socket, buffer, sizeof buffer, 0);
        if (n > 0) {
            if (!connection.started) {
                connection.started = true;
                connection.deadline = Clock::now() + limits_.head;
            }
            connection.received.append(buffer, static_cast<std::size_t>(n));
            if (connection.received.size() > limits_.maxHead) {
                break;
            }
        } else if (n == 0) {
            // The client has finished sending: a whole request still gets its answer.
            return RequestHeadEnd(connection.received) != std::string::npos;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else if (errno != EINTR) {
            return false;
        }
    }
    if (RequestHeadEnd(connection.received) == std::string::npos &&
        connection.received.size() > limits_.maxHead) {
        Tell(connection.socket, "431 Request Header Fields Too Large");
        return false;
    }
    return true;
}

void WebConnections::Watch() {
    std::vector<pollfd> polled;
    for (;;) {
        std::vector<Connection> arrived;
        std::size_t over = 0;
        {
            std::lock_guard lock(mutex_);
            if (stopping_) {
                return;
            }
            arrived.swap(incoming_);
            over = open_ > limits_.maxConnections ? open_ - limits_.maxConnections : 0;
        }
        const auto now = Clock::now();
        for (Connection& connection : arrived) {
            connection.since = now;
            connection.started = !connection.received.empty();
            connection.deadline = now + (connection.started ? limits_.head : limits_.idle);
            if (RequestHeadEnd(connection.received) != std::string::npos) {
                Hand(std::move(connection));
            } else {
                waiting_.push_back(std::move(connection));
            }
        }
        // Too many open: those that have waited longest for a request make room.
        for (; over > 0 && !waiting_.empty(); --over) {
            const auto oldest =
                std::min_element(waiting_.begin(), waiting_.end(),
                                 [](const auto& a, const auto& b) { return a.since < b.since; });
            Close(*oldest);
            waiting_.erase(oldest);
        }

        polled.assign(1, pollfd{wake_[0], POLLIN, 0});
        auto next = Clock::time_point::max();
        for (const Connection& connection : waiting_) {
            polled.push_back(pollfd{connection.socket, POLLIN, 0});
            next = std::min(next, connection.deadline);
        }
        int timeout = -1;
        if (!waiting_.empty()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
            timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, 60'000));
        }
        if (::poll(polled.data(), polled.size(), timeout) < 0 && errno != EINTR) {
            return;
        }
        if (polled[0].revents != 0) {
            char drained[64];
            while (::read(wake_[0], drained, sizeof drained) > 0) {
            }
        }

        const auto then = Clock::now();
        std::vector<Connection> still;
        for (std::size_t i = 0; i < waiting_.size(); ++i) {
            Connection& connection = waiting_[i];
            const bool open = polled[i + 1].revents == 0 || Receive(connection);
            if (open && RequestHeadEnd(connection.received) != std::string::npos) {
                Hand(std::move(connection));
            } else if (open && then < connection.deadline) {
                still.push_back(std::move(connection));
            } else {
                if (open && connection.started) {
                    Tell(connection.socket, "408 Request Timeout");
                }
                Close(connection);
            }
        }
        waiting_.swap(still);
    }
}

void WebConnections::Work() {
    // Uploads take at most `uploads` workers, and always fewer than all of them.
    const int uploads = std::clamp(limits_.uploads, 1, std::max(1, limits_.workers - 1));
    for (;;) {
        Connection connection;
        {
            std::unique_lock lock(mutex_);
            const auto uploadMayStart = [&] { return !uploads_.empty() && uploading_ < uploads; };
            ready_changed_.wait(lock,
                                [&] { return stopping_ || !ready_.empty() || uploadMayStart(); });
            if (stopping_) {
                return;
            }
            auto& queue = ready_.empty() ? uploads_ : ready_;
            connection = std::move(queue.front());
            queue.pop_front();
            uploading_ += connection.upload ? 1 : 0;
            answering_.insert(connection.socket);
        }
        bool keep = false;
        {
            ConnectionStream stream(connection.socket, std::move(connection.received), limits_);
            bool closed = false;
            try {
                keep = serve_(stream, &closed) && !closed;
            } catch (const std::exception&) {
                keep = false;  // no memory for the request's body, say: the connection goes
            }
            connection.received = stream.Unread();
        }
        bool given = false;
        {
            std::lock_guard lock(mutex_);
            answering_.erase(connection.socket);
            if (connection.upload) {
                --uploading_;
                connection.upload = false;
                // A worker may now read the body of a waiting upload.
                ready_changed_.notify_one();
            }
            if (keep && !stopping_) {
                incoming_.push_back(std::move(connection));
                given = true;
            }
        }
        if (given) {
            Wake();
        } else {
            Close(connection);
        }
    }
}

}  // namespace app
