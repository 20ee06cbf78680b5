// vellomir-sim: loads the real Vellomir64.xpl into simhost the way X-Plane does, flies frames at a fixed
// rate for a simulated duration and prints a transcript of what the plug-in logged, said and showed.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Harness.h"
#include "Scenario.h"
#include "ScenarioPilot.h"
#include "SimReport.h"
#include "SimSnapshots.h"
#include "XPLMPlugin.h"

namespace {

struct CustomPack {
    std::string name;
    std::string aptDat; ///< empty: a pack without airports
};

struct SimArgs {
    simhost::Options options;
    std::string plugin = VELLOMIR_XPL_PATH;
    float duration = 60.0f;
    std::string scenario; ///< empty: just load and run for the duration
    // which options the command line gave (they override the scenario's)
    bool version = false, fps = false, folder = false, duration_given = false;
    unsigned directorySeed = 0; ///< 0: simhost's choice
    std::string earthNav, earthFix; ///< X-Plane's own navigation data to lay before loading
    int sample = -1; ///< --sample 1, --no-sample 0, else as the scenario says (on by default)
    std::string aptDat;
    std::vector<CustomPack> customPacks;
    std::vector<simhost::SceneryPack> packsIni;
    bool writePacksIni = false;
    std::string navData;
    std::string settings; ///< Settings.txt lines ("key#value") laid beside the plug-in before it loads
    double reportEvery = 0; ///< simulated seconds between health reports; 0: only the final one
    bool quiet = false;     ///< leave the plug-in's log, speech and screen out of the transcript
    bool audioRealTime = false; ///< frames at the wall clock's pace while a voice plays
    double maxSpeed = 0;        ///< at most this many simulated seconds a wall-clock second; 0: no limit
    std::string snapshots; ///< folder of the pictures of windows as they open; empty: none
};

void Usage(FILE *out)
{
    fprintf(out,
            "usage: vellomir-sim [options]\n"
            "Loads Vellomir64.xpl into a simulated X-Plane and prints a transcript.\n"
            "  --xplane-version N   X-Plane version the host reports (default 12000; e.g. 11300, 11330, 11500)\n"
            "  --xplane-folder DIR  simulated X-Plane folder (default: a fresh temporary folder)\n"
            "  --fps N              frames per simulated second (default 30)\n"
            "  --duration S         simulated seconds to run (default 60)\n"
            "  --plugin PATH        the plug-in to load (default: the one built with this tool)\n"
            "  --scenario FILE      fly a scenario (docs/scenarios.md); --duration then adds time after it\n"
            "  --earth-nav PATH     earth_nav.dat to lay into the simulated X-Plane's Resources/default data\n"
            "  --earth-fix PATH     earth_fix.dat to lay there (e.g. ../shared/data/us-1911/earth_fix.dat)\n"
            "  --sample, --no-sample  lay the bundled Pacific Northwest sample (data/sample: airports,\n"
            "                       navaids, fixes, procedures) into the X-Plane folder (default: on)\n"
            "  --apt-dat FILE       the global apt.dat (laid after the sample, so it replaces the sample's)\n"
            "  --custom-scenery PACK[=FILE]  a custom scenery pack, with FILE as its apt.dat (repeatable)\n"
            "  --scenery-packs LIST write scenery_packs.ini: packs by priority, highest first, comma\n"
            "                       separated; a leading - marks a disabled pack (e.g. A,-B,C)\n"
            "  --navdata DIR        the plug-in's navdata folder (earth_nav.dat, earth_fix.dat, CIFP/)\n"
            "  --setting KEY=VALUE  a line of the plug-in's Settings.txt, laid before it loads (repeatable;\n"
            "                       e.g. --setting localTtsOn=1 speaks with the local voice)\n"
            "  --report-every S     print a health report (REPORT line: memory, files, OpenAL, widgets, windows,\n"
            "                       host errors, frame times) every S simulated seconds; one comes at the end\n"
            "                       anyway. The host's record of the log and speech is emptied after each\n"
            "                       report (an expect log/say then sees only what came since)\n"
            "  --audio-real-time    while the plug-in plays a voice (holds an OpenAL source), run the frames at\n"
            "                       the wall clock's pace, so that a voice lasts as long in simulated time as\n"
            "                       it sounds; the rest of the run goes as fast as the machine allows\n"
            "  --max-speed X        at most X simulated seconds to a second of the wall clock (as fast as the\n"
            "                       machine allows without it): the plug-in's network and synthesis threads,\n"
            "                       which run on the wall clock, then get their answers within X times their time\n"
            "  --quiet              print only the scenario's lines and the reports, not the log, speech and screen\n"
            "  --snapshots DIR      write a PNG picture of every window as it opens into DIR (NNN-title.png),\n"
            "                       of the dialogue box when it shows text after none (NNN-dialogue-box.png)\n"
            "                       and of the whole screen at the end (NNN-screen.png)\n"
            "  --directory-seed N   order of the simulated X-Plane's folder listings, which X-Plane does not\n"
            "                       promise (default: a random seed, printed at start; give it to repeat a run)\n"
            "  --help               this text\n"
            "Exit status: 0 done, 1 bad arguments, 2 the plug-in could not be loaded or started, 3 crashed,\n"
            "4 a scenario event or expectation failed, 5 the plug-in misused the SDK (host errors, listed at the end).\n");
}

bool ParseArgs(int argc, char **argv, SimArgs &args)
{
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&](const char *name) -> const char * {
            if (i + 1 >= argc) {
                fprintf(stderr, "vellomir-sim: %s needs a value\n", name);
                return nullptr;
            }
            return argv[++i];
        };
        const char *v = nullptr;
        if (a == "--help" || a == "-h") {
            Usage(stdout);
            exit(0);
        } else if (a == "--xplane-version") {
            if ((v = value("--xplane-version")) == nullptr)
                return false;
            args.options.xplaneVersion = atoi(v);
            args.version = true;
        } else if (a == "--setting") {
            if ((v = value("--setting")) == nullptr)
                return false;
            std::string line = v;
            size_t equals = line.find('=');
            if (equals == std::string::npos || equals == 0) {
                fprintf(stderr, "vellomir-sim: --setting needs KEY=VALUE, not '%s'\n", v);
                return false;
            }
            args.settings += line.substr(0, equals) + "#" + line.substr(equals + 1) + "\n";
        } else if (a == "--xplane-folder") {
            if ((v = value("--xplane-folder")) == nullptr)
                return false;
            args.options.xplaneFolder = v;
            args.folder = true;
        } else if (a == "--fps") {
            if ((v = value("--fps")) == nullptr)
                return false;
            args.options.frameRate = (float)atof(v);
            args.fps = true;
        } else if (a == "--duration") {
            if ((v = value("--duration")) == nullptr)
                return false;
            args.duration = (float)atof(v);
            args.duration_given = true;
        } else if (a == "--scenario") {
            if ((v = value("--scenario")) == nullptr)
                return false;
            args.scenario = v;
        } else if (a == "--sample" || a == "--no-sample") {
            args.sample = a == "--sample" ? 1 : 0;
        } else if (a == "--apt-dat") {
            if ((v = value("--apt-dat")) == nullptr)
                return false;
            args.aptDat = v;
        } else if (a == "--custom-scenery") {
            if ((v = value("--custom-scenery")) == nullptr)
                return false;
            std::string pack = v;
            size_t equals = pack.find('=');
            args.customPacks.push_back(equals == std::string::npos
                                           ? CustomPack{pack, ""}
                                           : CustomPack{pack.substr(0, equals), pack.substr(equals + 1)});
        } else if (a == "--scenery-packs") {
            if ((v = value("--scenery-packs")) == nullptr)
                return false;
            args.writePacksIni = true;
            std::string list = v;
            for (size_t start = 0; start <= list.size();) {
                size_t comma = list.find(',', start);
                std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                bool enabled = name.empty() || name[0] != '-';
                if (!enabled)
                    name.erase(0, 1);
                if (!name.empty())
                    args.packsIni.push_back(simhost::SceneryPack{name, enabled});
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (a == "--snapshots") {
            if ((v = value("--snapshots")) == nullptr)
                return false;
            args.snapshots = v;
        } else if (a == "--navdata") {
            if ((v = value("--navdata")) == nullptr)
                return false;
            args.navData = v;
        } else if (a == "--report-every") {
            if ((v = value("--report-every")) == nullptr)
                return false;
            args.reportEvery = atof(v);
            if (!(args.reportEvery > 0)) {
                fprintf(stderr, "vellomir-sim: --report-every needs a positive number of seconds\n");
                return false;
            }
        } else if (a == "--quiet") {
            args.quiet = true;
        } else if (a == "--audio-real-time") {
            args.audioRealTime = true;
        } else if (a == "--max-speed") {
            if ((v = value("--max-speed")) == nullptr)
                return false;
            args.maxSpeed = atof(v);
            if (!(args.maxSpeed > 0)) {
                fprintf(stderr, "vellomir-sim: --max-speed needs a positive number\n");
                return false;
            }
        } else if (a == "--directory-seed") {
            if ((v = value("--directory-seed")) == nullptr)
                return false;
            args.directorySeed = (unsigned)strtoul(v, nullptr, 10);
        } else if (a == "--plugin") {
            if ((v = value("--plugin")) == nullptr)
                return false;
            args.plugin = v;
        } else if (a == "--earth-nav" || a == "--earth-fix") {
            if ((v = value(a.c_str())) == nullptr)
                return false;
            (a == "--earth-nav" ? args.earthNav : args.earthFix) = v;
        } else {
            fprintf(stderr, "vellomir-sim: unknown option %s\n", a.c_str());
            return false;
        }
    }
    if (args.options.frameRate <= 0 || args.duration < 0 || args.options.xplaneVersion <= 0) {
        fprintf(stderr, "vellomir-sim: --fps, --duration and --xplane-version need positive numbers\n");
        return false;
    }
    return true;
}

void OnCrash(int signal)
{
    char text[64];
    int n = snprintf(text, sizeof text, "vellomir-sim: crashed with signal %d\n", signal);
    if (write(STDERR_FILENO, text, (size_t)n) < 0) {
    }
    _exit(3);
}

// Prints what happened since the last call: new log lines, spoken texts and changed screen text.
struct Transcript {
    bool quiet = false;
    size_t logIndex = 0;
    size_t spokenIndex = 0;
    std::vector<std::string> screen;
    std::vector<ScenarioWindow> windows;

    void Flush()
    {
        float t = simhost::ElapsedTime();
        const std::vector<std::string> &log = simhost::LogLines();
        for (; logIndex < log.size(); logIndex++)
            if (!quiet)
                printf("[%7.2f] LOG  %s\n", t, log[logIndex].c_str());
        const std::vector<simhost::Spoken> &spoken = simhost::SpokenTexts();
        for (; spokenIndex < spoken.size(); spokenIndex++)
            if (!quiet)
                printf("[%7.2f] SAY  %s\n", spoken[spokenIndex].time, spoken[spokenIndex].text.c_str());
        if (quiet) {
            fflush(stdout);
            return;
        }
        std::vector<std::string> now;
        for (const simhost::DrawnString &s : simhost::FrameStrings())
            now.push_back(s.text);
        if (now != screen) {
            for (const std::string &line : now)
                if (!line.empty())
                    printf("[%7.2f] SHOW %s\n", t, line.c_str());
            screen = now;
        }
        std::vector<ScenarioWindow> open = Scenario_Windows();
        for (const std::string &line : Scenario_WindowChanges(windows, open))
            printf("[%7.2f] %s\n", t, line.c_str());
        windows = open;
        fflush(stdout);
    }

    /// Empties the host's record of the log and speech, all of it printed: a long run keeps no history.
    void Forget()
    {
        Flush();
        simhost::ClearLog();
        simhost::ClearSpokenTexts();
        logIndex = spokenIndex = 0;
    }
};

/// Installs the files shipped beside the plug-in (data/plugin/), as a user installs them.
void InstallPluginFiles()
{
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(VELLOMIR_SOURCE_DIR "/data/plugin", error)) {
        if (entry.is_regular_file())
            simhost::CopyFileInto(entry.path().string(),
                                  "Resources/plugins/Vellomir64/" + entry.path().filename().string());
    }
}

/// Lays the sample, apt.dat files, packs and navdata the arguments name into the X-Plane folder.
bool LayScenery(const SimArgs &args, bool sample)
{
    InstallPluginFiles();
    if (!args.settings.empty())
        simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt", args.settings);
    if (sample && !simhost::InstallSample(VELLOMIR_SOURCE_DIR "/data/sample")) {
        fprintf(stderr, "vellomir-sim: cannot lay the sample from %s\n", VELLOMIR_SOURCE_DIR "/data/sample");
        return false;
    }
    if (!args.aptDat.empty() && !simhost::InstallGlobalAptDat(args.aptDat)) {
        fprintf(stderr, "vellomir-sim: cannot copy %s\n", args.aptDat.c_str());
        return false;
    }
    for (const CustomPack &pack : args.customPacks) {
        if (!simhost::InstallCustomScenery(pack.name, pack.aptDat)) {
            fprintf(stderr, "vellomir-sim: cannot make the pack %s from %s\n", pack.name.c_str(), pack.aptDat.c_str());
            return false;
        }
    }
    if (args.writePacksIni)
        simhost::WriteSceneryPacksIni(args.packsIni);
    if (!args.navData.empty() && !simhost::InstallNavData(args.navData)) {
        fprintf(stderr, "vellomir-sim: %s is not a navdata folder\n", args.navData.c_str());
        return false;
    }
    if (sample)
        printf("vellomir-sim: bundled sample laid (Pacific Northwest airports and navdata)\n");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    SimArgs args;
    if (!ParseArgs(argc, argv, args)) {
        Usage(stderr);
        return 1;
    }
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        signal(sig, OnCrash);
    // The simulated cockpit has no loudspeaker unless one is asked for.
    setenv("ALSOFT_DRIVERS", "null", 0);
    SimReport_InterposeOpenAL(VELLOMIR_ALCOUNT_PATH);

    Scenario scenario;
    std::string error;
    if (!args.scenario.empty()) {
        if (!Scenario_Read(args.scenario, scenario, error)) {
            fprintf(stderr, "vellomir-sim: %s\n", error.c_str());
            return 1;
        }
        if (args.version)
            scenario.options.xplaneVersion = args.options.xplaneVersion;
        if (args.fps)
            scenario.options.frameRate = args.options.frameRate;
        if (args.folder)
            scenario.options.xplaneFolder = args.options.xplaneFolder;
        args.options = scenario.options;
        if (!args.duration_given)
            args.duration = 0;
    } else {
        // Without a scenario: load the plug-in, tell it the flight is loaded, and let it run.
        std::string text = "load\nmessage plane-loaded\nmessage airport-loaded\n";
        Scenario_Parse(text, scenario, error);
        scenario.path = "(default)";
    }

    args.options.directorySeed = args.directorySeed;
    simhost::Reset(args.options);
    // The sample first: the files named on the command line replace its.
    if (!LayScenery(args, args.sample == -1 ? scenario.sample : args.sample == 1)) {
        simhost::Shutdown();
        return 1;
    }
    const struct {
        const std::string &path;
        simhost::NavDataFile file;
    } navData[] = {{args.earthNav, simhost::NavDataFile::EarthNav}, {args.earthFix, simhost::NavDataFile::EarthFix}};
    for (const auto &data : navData) {
        if (!data.path.empty() && !simhost::LayNavData(data.file, data.path)) {
            fprintf(stderr, "vellomir-sim: cannot lay %s into the X-Plane folder\n", data.path.c_str());
            simhost::Shutdown();
            return 1;
        }
    }
    printf("vellomir-sim: X-Plane %d in %s, %.0f fps%s%s, directory seed %u\n", args.options.xplaneVersion,
           simhost::SystemPath().c_str(), args.options.frameRate, args.scenario.empty() ? "" : ", scenario ",
           args.scenario.c_str(), simhost::DirectorySeed());
    Transcript transcript;
    SimSnapshots snapshots;
    std::string snapshotError;
    if (!args.snapshots.empty()) {
        std::error_code made;
        std::filesystem::create_directories(args.snapshots, made);
        snapshots.folder = args.snapshots;
    }
    // Pictures of what opened since the last look; a picture that cannot be written ends them.
    auto look = [&]() {
        if (!snapshots.Look(snapshotError)) {
            fprintf(stderr, "vellomir-sim: cannot write a picture: %s\n", snapshotError.c_str());
            snapshots.folder.clear();
        }
    };
    transcript.quiet = args.quiet;
    SimReport report;
    double nextReport = args.reportEvery;
    auto paced = std::chrono::steady_clock::now();
    const auto frameLength = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(1.0 / args.options.frameRate));
    const auto cappedFrame = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(args.maxSpeed > 0 ? 1.0 / (args.options.frameRate * args.maxSpeed) : 0.0));
    auto afterFrame = [&]() {
        transcript.Flush();
        look();
        if (report.lastFrame == simhost::FrameCount())
            return; // an event, not a frame
        SimReport_SampleFrame(report);
        if (args.audioRealTime && SimReport_HeldSources() > 0) {
            paced += frameLength;
            std::this_thread::sleep_until(paced);
        } else if (args.maxSpeed > 0) {
            // Time lost to a slow stretch is made up for by at most 10 ms of frames without a pause.
            paced = std::max(paced + cappedFrame, std::chrono::steady_clock::now() - std::chrono::milliseconds(10));
            std::this_thread::sleep_until(paced);
        } else {
            paced = std::chrono::steady_clock::now();
        }
        if (args.reportEvery > 0 && simhost::ElapsedTime() >= nextReport - 1e-3) {
            char label[32];
            snprintf(label, sizeof label, "t=%.0f", nextReport);
            SimReport_Print(stdout, report, label, false);
            transcript.Forget();
            nextReport += args.reportEvery;
        }
    };
    ScenarioHooks hooks;
    hooks.loadPlugin = [&]() {
        if (!simhost::LoadPlugin(args.plugin)) {
            transcript.Flush();
            fprintf(stderr, "vellomir-sim: cannot start the plug-in: %s\n", simhost::LastError().c_str());
            return false;
        }
        printf("vellomir-sim: loaded \"%s\" (%s): %s\n", simhost::PluginName().c_str(),
               simhost::PluginSignature().c_str(), simhost::PluginDescription().c_str());
        transcript.Flush();
        return true;
    };
    hooks.afterFrame = afterFrame;
    hooks.note = [&](const std::string &text) { printf("[%7.2f] NOTE %s\n", simhost::ElapsedTime(), text.c_str()); };
    hooks.event = [&](const std::string &text) { printf("[%7.2f] DO   %s\n", simhost::ElapsedTime(), text.c_str()); };

    int status = Scenario_Run(scenario, hooks, error);
    transcript.Flush();
    if (status != 0) {
        fprintf(stderr, "vellomir-sim: %s\n", error.c_str());
        simhost::Shutdown();
        return status;
    }
    int frames = (int)(args.duration * args.options.frameRate + 0.5f);
    for (int i = 0; i < frames; i++) {
        simhost::RunFrame();
        afterFrame();
    }
    if (!snapshots.Last(snapshotError))
        fprintf(stderr, "vellomir-sim: cannot write a picture: %s\n", snapshotError.c_str());
    simhost::UnloadPlugin();
    transcript.Flush();
    // After XPluginStop: what the plug-in did not give back is still counted here.
    SimReport_Print(stdout, report, "end", true);
    for (const std::string &name : simhost::MissingDataRefs())
        printf("vellomir-sim: the plug-in looked for %s, which X-Plane %d does not publish\n", name.c_str(),
               args.options.xplaneVersion);
    std::vector<std::string> errors = simhost::HostErrors();
    for (const std::string &misuse : errors)
        printf("vellomir-sim: host error: %s\n", misuse.c_str());
    printf("vellomir-sim: %d frames, %.1f simulated seconds, %d host errors, longest frame %.1f ms of the "
           "plug-in's time (%.1f ms by the wall clock)\n",
           simhost::FrameCount(), simhost::ElapsedTime(), (int)errors.size(),
           simhost::LongestFramePluginSeconds() * 1000.0, simhost::LongestFrameDrawSeconds() * 1000.0);
    simhost::Shutdown();
    if (!snapshotError.empty())
        return 1;
    return errors.empty() ? 0 : 5;
}
