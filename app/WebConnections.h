// The connections of `mesra serve`'s web server. One thread watches every open connection
// until a whole request head (request line and headers) has come in, or its time is up, and
// only then hands the connection to one of the workers, which read the body, answer and
// give the connection back. A client that sends its head slowly, or keeps a connection open
// without asking anything, so holds no worker. A request with a body takes a worker while
// the body comes in, within a time limit of its own, and only some of the workers ever read
// bodies at once: slow uploads leave the others to the page's requests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Stream;
}

namespace app {

struct ConnectionLimits {
    // A connection waiting for the first byte of its next request (new or kept alive).
    std::chrono::milliseconds idle{30'000};
    // From a request's first byte to the end of its head.
    std::chrono::milliseconds head{10'000};
    // One read of a body or one write of an answer that makes no progress.
    std::chrono::milliseconds stall{10'000};
    // A request's body read and its answer written, all told.
    std::chrono::milliseconds exchange{120'000};
    // A request's body read, all told (a body sent a byte at a time is cut).
    std::chrono::milliseconds body{30'000};
    // The bytes of a request line and its headers.
    std::size_t maxHead = 64 * 1024;
    // Connections open at once; past it, the one waiting longest for a request is closed.
    std::size_t maxConnections = 256;
    // Requests answered at once.
    int workers = 32;
    // Requests with a body read at once, fewer than the workers.
    int uploads = 8;
};

class WebConnections {
  public:
    // Answers the request that `stream` starts with. False when the connection must close
    // (the request could not be read or answered); *closed when the client asked to close.
    using Serve = std::function<bool(httplib::Stream& stream, bool* closed)>;

    WebConnections(ConnectionLimits limits, Serve serve);
    ~WebConnections();
    WebConnections(const WebConnections&) = delete;
    WebConnections& operator=(const WebConnections&) = delete;

    // Takes a newly accepted connection; its socket is then ours to close.
    void Add(int socket);
    // Closes every connection and ends the threads (a request being answered is cut);
    // connections added afterwards are closed at once.
    void Stop();

  private:
    struct Connection {
        int socket = -1;
        std::string received;                         // bytes read and not yet taken by a request
        bool started = false;                         // the next request's first bytes are in
        bool upload = false;                          // the request has a body to read
        std::chrono::steady_clock::time_point since;  // waiting since
        std::chrono::steady_clock::time_point deadline;  // idle or head limit
    };

    void Watch();
    void Work();
    // Reads what the connection has; false when it is to be closed.
    bool Receive(Connection& connection);
    void Hand(Connection connection);
    void Close(Connection& connection);
    void Wake();

    const ConnectionLimits limits_;
    const Serve serve_;
    int wake_[2] = {-1, -1};  // a pipe that wakes the watching thread

    std::mutex mutex_;
    std::condition_variable ready_changed_;
    bool stopping_ = false;
    std::size_t open_ = 0;
    std::vector<Connection> incoming_;  // new and given back, for the watching thread
    std::deque<Connection> ready_;      // whole heads without a body, for the workers
    std::deque<Connection> uploads_;    // whole heads with a body, for the workers
    int uploading_ = 0;                 // workers reading a body
    std::set<int> answering_;           // sockets the workers hold

    std::vector<Connection> waiting_;  // the watching thread's own
    std::thread watcher_;
    std::vector<std::thread> workers_;
};

}  // namespace app
