// A small HTTPS server for tests: it runs on 127.0.0.1 with a certificate that is its own authority (made
// at start, never stored in the repository), records every request and answers from a script.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct RecordedRequest {
    std::string method, path, body;
    std::vector<std::pair<std::string, std::string>> headers; ///< in the order received
    /// Value of the first header with that name (case-insensitive); empty when absent.
    std::string Header(const std::string &name) const;
};

struct ScriptedResponse {
    ScriptedResponse(int status_ = 200, std::string body_ = "", int delayMs_ = 0, std::string headers_ = "",
                     long sentBytes_ = -1)
        : status(status_), body(std::move(body_)), delayMs(delayMs_), headers(std::move(headers_)),
          sentBytes(sentBytes_)
    {
    }
    int status = 200;
    std::string body;
    int delayMs = 0; ///< wait before answering (a slow service)
    std::string headers; ///< extra header lines, each ending in "\r\n" (a redirect's Location)
    long sentBytes = -1; ///< body bytes sent before the connection is closed (a cut transfer); -1 all
};

class TlsTestServer {
  public:
    TlsTestServer() = default;
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer &) = delete;
    TlsTestServer &operator=(const TlsTestServer &) = delete;

    /// Makes the certificate for 127.0.0.1 and starts listening; false on failure.
    bool Start();
    void Stop();
    /// "https://127.0.0.1:<port><path>".
    std::string Url(const std::string &path) const;
    /// PEM file of the server's certificate, to be trusted as an authority.
    std::string CaFile() const { return caFile_; }
    /// Answers for a path, used in order; the last one repeats. A path without a script gets 404.
    void Script(const std::string &path, const std::vector<ScriptedResponse> &responses);
    std::vector<RecordedRequest> Requests() const;
    std::vector<RecordedRequest> RequestsTo(const std::string &path) const;

  private:
    void Serve();
    void Handle(int client);
    /// Keeps the request and takes the next answer of its path's script.
    ScriptedResponse Record(const RecordedRequest &request);

    void *ctx_ = nullptr; // SSL_CTX
    int listenFd_ = -1;
    int port_ = 0;
    std::string caFile_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<ScriptedResponse>> scripts_;
    std::vector<RecordedRequest> requests_;
};
