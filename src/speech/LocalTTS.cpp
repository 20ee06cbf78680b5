// The local synthesiser: its command line, its voices, and one run per spoken message on the speech
// worker. The run itself (LocalTTS_work) makes no SDK call and touches no global.
#include "speech/LocalTTS.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "XPLMUtilities.h"
#include "plugin/Audio.h"
#include "plugin/Log.h"
#include "speech/RadioSound.h"
#include "speech/SpeechWorker.h"
#include "speech/Wave.h"
#include "ui/ExternalTool.h"
#include "ui/Settings.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"

std::vector<voceRandom> vociLocali;
char voceLocaleAttuale[VOICE_NAME_SIZE] = "";
char userVoiceLocale[VOICE_NAME_SIZE] = "";

namespace {

int gTimeoutMs = kLocalTtsTimeoutMs;
/// Largest wave accepted from the synthesiser.
const size_t kMaxWaveBytes = 32u * 1024 * 1024;
/// Count of utterances synthesised: the seed of each one's radio noise.
unsigned gUtteranceCount = 0;
/// What was last said to be missing, in the log and in a window: each is said once.
std::string gMissingLogged, gMissingShown;

/// What one run needs, copied on the simulator's thread.
struct LocalSetup {
    std::vector<std::string> argv;
    bool waveOnStdout = false;
    std::string wavePath;
    std::string text;
    int timeoutMs = 0;
    bool radio = false;
    unsigned seed = 0;
};

/// What one run brought back.
struct LocalOutcome {
    DeferredLog log;
    bool ok = false; ///< a wave the loader accepts
    std::string wave;
};

/// Full path of a program named in a command: as written when it holds a slash, else found on PATH.
std::string LocalTTS_resolve(const std::string &program)
{
    if (program.find('/') != std::string::npos)
        return program;
    const char *names[] = {program.c_str()};
    return Utils_FindTool(names, 1, getenv("PATH"));
}

bool LocalTTS_readFile(const std::string &path, std::string *out)
{
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return false;
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        out->append(chunk, (size_t)file.gcount());
        if (out->size() > kMaxWaveBytes)
            return false;
    }
    return true;
}

long LocalTTS_nowMs()
{
    using namespace std::chrono;
    return (long)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/// Runs the synthesiser and checks its wave; on the speech worker.
void LocalTTS_work(const LocalSetup &setup, LocalOutcome &out)
{
    std::vector<const char *> argv;
    for (const std::string &word : setup.argv)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    if (!setup.waveOnStdout)
        remove(setup.wavePath.c_str()); // a run that writes nothing must not replay the last message
    long start = LocalTTS_nowMs();
    std::string stdoutWave;
    int status = Utils_RunTool(argv.data(), &setup.text, setup.waveOnStdout ? &stdoutWave : nullptr, kMaxWaveBytes,
                               setup.timeoutMs);
    long elapsed = LocalTTS_nowMs() - start;
    if (status != 0) {
        if (elapsed >= setup.timeoutMs)
            out.log.Info("LocalTTS_Speak", "%s ran longer than %i ms and was stopped", setup.argv[0].c_str(),
                         setup.timeoutMs);
        else
            out.log.Info("LocalTTS_Speak", "%s failed (exit status %i)", setup.argv[0].c_str(), status);
        return;
    }
    if (setup.waveOnStdout)
        out.wave.swap(stdoutWave);
    else if (!LocalTTS_readFile(setup.wavePath, &out.wave)) {
        out.log.Info("LocalTTS_Speak", "%s wrote no readable wave file %s", setup.argv[0].c_str(),
                     setup.wavePath.c_str());
        return;
    }
    WavePcm pcm;
    if (!Wave_ParsePcm(out.wave, &pcm) || pcm.dataLength == 0 || pcm.sampleRate == 0) {
        out.log.Info("LocalTTS_Speak", "%s wrote %u bytes that are not a playable wave", setup.argv[0].c_str(),
                     (unsigned)out.wave.size());
        return;
    }
    double seconds = (double)pcm.dataLength / (pcm.channels * (pcm.bitsPerSample / 8)) / pcm.sampleRate;
    if (setup.radio)
        RadioSound_Apply(out.wave, setup.seed);
    out.log.Info("LocalTTS_Speak", "Local voice synthesised %.1f s of speech in %ld ms", seconds, elapsed);
    out.ok = true;
}

/// Plays the wave; false when nothing could be played.
bool LocalTTS_play(const std::string &wave)
{
    AudioContextScope scope;
    if (!scope.active)
        return false;
    Wave_AddToBufferQueue(wave, OpenAlBufferCounter);
    return Wave_PlayQueuedBuffers();
}

} // namespace

void readLocalVoices()
{
    Voices_ReadCatalogue("LocalVoices.txt", vociLocali, userVoiceLocale);
}

void CambiaVoceLocale()
{
    if (vociLocali.empty())
        return;
    // Seeded apart from the cloud voice's draw, so that the two lists do not move in step.
    srand((unsigned)time(nullptr) * 2654435761u);
    int index = rand() % (int)vociLocali.size();
    vociLocali[index].scelta = 1;
    snprintf(voceLocaleAttuale, sizeof voceLocaleAttuale, "%s", vociLocali[index].name);
    PrintInfo("CambiaVoceLocale", "Setting new local voice: %s (%i/%i)", voceLocaleAttuale, index,
              (int)vociLocali.size());
}

bool LocalTTS_Command(const char *voice, const char *wavePath, std::vector<std::string> &argv, bool *waveOnStdout,
                      std::string *missing)
{
    argv.clear();
    *waveOnStdout = false;
    std::string v = voice != nullptr ? voice : "";
    if (localTtsCommand[0] == '\0') {
        argv.push_back(LocalTTS_resolve("espeak-ng"));
        if (!v.empty()) {
            argv.push_back("-v");
            argv.push_back(v);
        }
        argv.push_back("-w");
        argv.push_back(wavePath);
        argv.push_back("--stdin");
    } else {
        bool waveNamed = false;
        const char *p = localTtsCommand;
        while (*p != '\0') {
            while (*p == ' ' || *p == '\t')
                p++;
            const char *start = p;
            while (*p != '\0' && *p != ' ' && *p != '\t')
                p++;
            if (p == start)
                break;
            std::string word(start, (size_t)(p - start));
            if (word == "{wave}") {
                word = wavePath;
                waveNamed = true;
            } else if (word == "{voice}") {
                word = v;
            }
            argv.push_back(argv.empty() ? LocalTTS_resolve(word) : word);
        }
        *waveOnStdout = !waveNamed;
    }
    if (!argv.empty() && !argv[0].empty())
        return true;
    if (missing != nullptr)
        *missing = localTtsCommand[0] != '\0' ? localTtsCommand : "espeak-ng";
    return false;
}

bool LocalTTS_Ready(bool warn)
{
    std::vector<std::string> argv;
    bool stdoutWave = false;
    std::string missing;
    bool program = LocalTTS_Command("", "", argv, &stdoutWave, &missing);
    if (program && access(argv[0].c_str(), X_OK) != 0) {
        program = false;
        missing = argv[0];
    }
    bool audio = program && Audio_Prepare();
    if (program && audio) {
        gMissingLogged.clear();
        return true;
    }
    std::string what = !program ? "the synthesiser " + missing : std::string("a sound device (OpenAL)");
    if (gMissingLogged != what) {
        gMissingLogged = what;
        PrintInfo("LocalTTS_Ready", "The local voice needs %s, which is not available. X-Plane's own voice speaks instead",
                  what.c_str());
    }
    if (warn && gMissingShown != what) {
        gMissingShown = what;
        CreateWarningWinControl(400, 440, 740, 110, "Vellomir - Warning",
                                "The local voice is switched on but cannot speak. Missing:", what.c_str(),
                                "Install espeak-ng (Debian and Ubuntu: apt install espeak-ng), or name another",
                                "synthesiser in Settings.txt (localTtsCommand). Until then X-Plane's voice speaks.");
    }
    return false;
}

void LocalTTS_Speak(const char *sentence, bool pilot, std::function<void(bool played)> done)
{
    LocalSetup setup;
    setup.text = sentence != nullptr ? sentence : "";
    char wavePath[1024] = "";
    bool pathOk = Utils_PluginFilePath("Vellomir_local.wav", wavePath, sizeof wavePath);
    setup.wavePath = wavePath;
    std::string missing;
    bool commandOk = LocalTTS_Command(pilot ? userVoiceLocale : voceLocaleAttuale, wavePath, setup.argv,
                                      &setup.waveOnStdout, &missing);
    if (!commandOk || (!pathOk && !setup.waveOnStdout)) {
        PrintInfo("LocalTTS_Speak", "No local synthesiser (%s), X-Plane's own voice speaks instead",
                  commandOk ? "plug-in path too long" : missing.c_str());
        XPLMSpeakString(setup.text.c_str());
        if (done)
            done(false);
        return;
    }
    setup.timeoutMs = gTimeoutMs;
    setup.radio = radioSoundOn == 1;
    setup.seed = ++gUtteranceCount;
    std::shared_ptr<LocalOutcome> out = std::make_shared<LocalOutcome>();
    std::string text = setup.text;
    SpeechJob job;
    job.speaks = true;
    job.work = [setup, out](const std::atomic<bool> &) { LocalTTS_work(setup, *out); };
    job.finish = [out, text, done] {
        out->log.Flush();
        bool played = out->ok && LocalTTS_play(out->wave);
        if (!played) {
            PrintInfo("LocalTTS_Speak", "Local voice not played, X-Plane's own voice speaks instead");
            XPLMSpeakString(text.c_str());
        }
        if (done)
            done(played);
    };
    SpeechWorker_Submit(std::move(job));
}

void LocalTTS_SetTimeoutMs(int milliseconds)
{
    gTimeoutMs = milliseconds > 0 ? milliseconds : kLocalTtsTimeoutMs;
}
