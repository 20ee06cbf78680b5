// soak-server: the local HTTPS services of a long vellomir-sim run (scripts/soak.sh). It stands in, on
// 127.0.0.1 with a certificate that is its own authority, for the cloud speech service (token and
// synthesis: a short tone in the service's wave format) and for an update server that has no newer
// version than the one named (soak-server VERSION, 2.1.0 by default). It prints "port N" and "ca FILE" and serves until it gets SIGTERM or SIGINT.
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "support/TlsTestServer.h"

namespace
{

volatile sig_atomic_t gStop = 0;

void OnStop(int)
{
    gStop = 1;
}

std::string Le(uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; i++)
        out += (char)((value >> (8 * i)) & 0xff);
    return out;
}

/// Mono 16-bit 24 kHz: a 440 Hz tone of the given length, as the service answers a synthesis.
std::string ToneWave(double seconds)
{
    const int rate = 24000;
    std::string samples;
    for (int i = 0; i < (int)(seconds * rate); i++)
        samples += Le((uint16_t)(int16_t)(8000.0 * sin(2.0 * M_PI * 440.0 * i / rate)), 2);
    std::string body = "WAVEfmt " + Le(16, 4) + Le(1, 2) + Le(1, 2) + Le(rate, 4) + Le(rate * 2, 4) + Le(2, 2) +
                       Le(16, 2) + "data" + Le((uint32_t)samples.size(), 4) + samples;
    return "RIFF" + Le((uint32_t)body.size(), 4) + body;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string version = argc > 1 ? argv[1] : "2.1.0"; // the installed version, as the plug-in sends it
    const std::string latest = version; // no newer one
    TlsTestServer server;
    if (!server.Start()) {
        fprintf(stderr, "soak-server: cannot start\n");
        return 1;
    }
    server.Script("/sts/v1.0/issueToken", {ScriptedResponse(200, "soak-token")});
    server.Script("/cognitiveservices/v1", {ScriptedResponse(200, ToneWave(0.6), 50)});
    for (const char *index : {"/update/index", "/update/index.testing"})
        server.Script(std::string(index) + "?versionNumber=" + version, {ScriptedResponse(200, latest)});
    std::string url = server.Url("");
    printf("port %s\nca %s\n", url.substr(url.rfind(':') + 1).c_str(), server.CaFile().c_str());
    fflush(stdout);
    signal(SIGTERM, OnStop);
    signal(SIGINT, OnStop);
    while (!gStop)
        pause();
    size_t updates = 0;
    for (const RecordedRequest &request : server.Requests())
        updates += request.path.rfind("/update/", 0) == 0 ? 1 : 0;
    printf("served %zu requests: %zu tokens, %zu syntheses, %zu update checks\n", server.Requests().size(),
           server.RequestsTo("/sts/v1.0/issueToken").size(), server.RequestsTo("/cognitiveservices/v1").size(),
           updates);
    server.Stop();
    return 0;
}
