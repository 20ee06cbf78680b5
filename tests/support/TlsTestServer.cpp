// The tests' HTTPS responder over OpenSSL: one connection at a time, one request per connection.
#include "support/TlsTestServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sstream>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

/// A certificate for 127.0.0.1 that is its own authority, as "openssl req -x509" makes one.
X509 *MakeCertificate(EVP_PKEY *key)
{
    X509 *cert = X509_new();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 2 * 86400);
    X509_set_pubkey(cert, key);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(cert), "CN", MBSTRING_ASC, (const unsigned char *)"127.0.0.1", -1,
                               -1, 0);
    X509_set_issuer_name(cert, X509_get_subject_name(cert));
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    bool ok = true;
    for (const auto &[nid, value] : {std::pair<int, const char *>{NID_subject_key_identifier, "hash"},
                                     {NID_basic_constraints, "critical,CA:TRUE"},
                                     {NID_subject_alt_name, "IP:127.0.0.1"}}) {
        X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
        ok = ok && ext != nullptr && X509_add_ext(cert, ext, -1) == 1;
        X509_EXTENSION_free(ext);
    }
    if (!ok || X509_sign(cert, key, EVP_sha256()) == 0) {
        X509_free(cert);
        return nullptr;
    }
    return cert;
}

bool ReadRequest(SSL *ssl, RecordedRequest &request)
{
    std::string data;
    char chunk[4096];
    size_t headerEnd;
    while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos) {
        int n = SSL_read(ssl, chunk, sizeof chunk);
        if (n <= 0 || data.size() > 1024 * 1024)
            return false;
        data.append(chunk, (size_t)n);
    }
    std::istringstream head(data.substr(0, headerEnd + 2));
    std::string line;
    if (!(head >> request.method >> request.path) || !std::getline(head, line))
        return false;
    while (std::getline(head, line)) { // "Name: value\r"
        size_t colon = line.find(':');
        size_t value = std::min(line.find_first_not_of(' ', colon + 1), line.size() - 1);
        if (colon != std::string::npos)
            request.headers.emplace_back(line.substr(0, colon), line.substr(value, line.size() - 1 - value));
    }
    size_t length = (size_t)atol(request.Header("Content-Length").c_str());
    request.body = data.substr(headerEnd + 4);
    while (request.body.size() < length) {
        int n = SSL_read(ssl, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        request.body.append(chunk, (size_t)n);
    }
    return true;
}

} // namespace

std::string RecordedRequest::Header(const std::string &name) const
{
    for (const auto &header : headers)
        if (strcasecmp(header.first.c_str(), name.c_str()) == 0)
            return header.second;
    return "";
}

TlsTestServer::~TlsTestServer()
{
    Stop();
}

bool TlsTestServer::Start()
{
    signal(SIGPIPE, SIG_IGN); // a client that gave up must not end the test process
    EVP_PKEY *key = EVP_EC_gen("P-256");
    X509 *cert = key != nullptr ? MakeCertificate(key) : nullptr;
    bool ok = cert != nullptr;
    if (ok) {
        char path[] = "/tmp/vellomir-test-ca-XXXXXX";
        int fd = mkstemp(path);
        FILE *file = fd >= 0 ? fdopen(fd, "w") : nullptr;
        ok = file != nullptr && PEM_write_X509(file, cert) == 1;
        if (file != nullptr)
            fclose(file);
        caFile_ = path;
    }
    if (ok) {
        SSL_CTX *ctx = SSL_CTX_new(TLS_server_method());
        ok = ctx != nullptr && SSL_CTX_use_certificate(ctx, cert) == 1 && SSL_CTX_use_PrivateKey(ctx, key) == 1;
        ctx_ = ctx;
    }
    X509_free(cert);
    EVP_PKEY_free(key);
    if (!ok)
        return false;

    listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(listenFd_, (sockaddr *)&address, sizeof address) != 0 || listen(listenFd_, 16) != 0 ||
        getsockname(listenFd_, (sockaddr *)&address, &length) != 0)
        return false;
    port_ = ntohs(address.sin_port);
    stop_ = false;
    thread_ = std::thread(&TlsTestServer::Serve, this);
    return true;
}

void TlsTestServer::Stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0)
        close(listenFd_);
    listenFd_ = -1;
    if (ctx_ != nullptr)
        SSL_CTX_free(static_cast<SSL_CTX *>(ctx_));
    ctx_ = nullptr;
    if (!caFile_.empty())
        unlink(caFile_.c_str());
    caFile_.clear();
}

std::string TlsTestServer::Url(const std::string &path) const
{
    return "https://127.0.0.1:" + std::to_string(port_) + path;
}

void TlsTestServer::Script(const std::string &path, const std::vector<ScriptedResponse> &responses)
{
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[path] = responses;
}

std::vector<RecordedRequest> TlsTestServer::Requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<RecordedRequest> TlsTestServer::RequestsTo(const std::string &path) const
{
    std::vector<RecordedRequest> matching;
    for (const RecordedRequest &request : Requests())
        if (request.path == path)
            matching.push_back(request);
    return matching;
}

ScriptedResponse TlsTestServer::Record(const RecordedRequest &request)
{
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    std::vector<ScriptedResponse> &script = scripts_[request.path];
    if (script.empty())
        return {404};
    ScriptedResponse response = script.front();
    if (script.size() > 1) // the last answer repeats
        script.erase(script.begin());
    return response;
}

void TlsTestServer::Serve()
{
    while (!stop_) {
        pollfd descriptor = {listenFd_, POLLIN, 0};
        if (poll(&descriptor, 1, 50) <= 0)
            continue;
        int client = accept(listenFd_, nullptr, nullptr);
        if (client >= 0)
            Handle(client);
    }
}

void TlsTestServer::Handle(int client)
{
    timeval timeout = {5, 0};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    SSL *ssl = SSL_new(static_cast<SSL_CTX *>(ctx_));
    SSL_set_fd(ssl, client);
    RecordedRequest request;
    if (SSL_accept(ssl) == 1 && ReadRequest(ssl, request)) {
        ScriptedResponse response = Record(request);
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(response.delayMs);
        while (!stop_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        char head[256];
        snprintf(head, sizeof head,
                 "HTTP/1.1 %d Scripted\r\nContent-Type: text/plain\r\nContent-Length: %zu\r\nConnection: close\r\n",
                 response.status, response.body.size());
        std::string body = response.sentBytes >= 0 ? response.body.substr(0, (size_t)response.sentBytes) : response.body;
        std::string reply = std::string(head) + response.headers + "\r\n" + body;
        if (!stop_)
            SSL_write(ssl, reply.data(), (int)reply.size());
        SSL_shutdown(ssl);
    }
    SSL_free(ssl);
    close(client);
}
