// ordune-fuzz READER [options]: feeds one of the program's file readers
// mutated inputs, each in a child process forked from a driver that has set
// the reader up once, with a time and a memory limit per input. A crash, a
// hang or a run out of memory is kept as a reproducer with its log. See
// tools/fuzz/README.md.
#include "coverage.h"
#include "mutator.h"
#include "readers.h"

#include "platform/host.h"
#include "platform/program_objects.h"
#include "settings/program_options.h"
#include "tool_support.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// In memory where the system offers it: the readers write their side files
// with a flush to disk, thousands of times a run.
CPrivateStore g_PrivateStore __attribute__((init_priority(101))){
    "ordune-fuzz", ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp"};

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer reserves far more address space than any limit we
// would set; it refuses oversized allocations itself.
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// The exit code of a child whose allocation the memory limit refused.
constexpr int kOutOfMemoryExit = 86;

// Nobody answers here: boxes take their first button, sleeps cost nothing.
class CFuzzHost : public CConsoleHost {
public:
    int MessageBox(const std::string&, const std::string&, unsigned type) override
    {
        return DefaultMessageBoxAnswer(type);
    }
    void Sleep(unsigned) override {}
};

struct COptions {
    std::string reader;
    // Without --runs the time ends a run (10 s unless given), with --runs
    // the count does, and the time only when given as well.
    double seconds = -1;
    std::size_t runs = 0;
    std::uint64_t seed = 1;
    std::vector<std::string> corpora;
    std::string findings = "fuzz-findings";
    unsigned timeoutMs = 2000;
    std::size_t memoryMb = 2048;
    std::size_t maxLength = 64 * 1024;
    std::vector<std::string> replay;
};

int Usage()
{
    std::fprintf(stderr,
                 "usage: ordune-fuzz READER [--seconds S] [--runs N] [--seed N] [--corpus DIR]...\n"
                 "                          [--findings DIR] [--timeout-ms MS] [--memory-mb MB]\n"
                 "                          [--max-len BYTES]\n"
                 "       ordune-fuzz READER --replay FILE...\n"
                 "readers:");
    for (const CFuzzReader& reader : FuzzReaders())
        std::fprintf(stderr, " %s", reader.name);
    std::fprintf(stderr, "\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, COptions& options)
{
    if (argc < 2)
        return false;
    options.reader = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--replay") {
            options.replay.assign(argv + i + 1, argv + argc);
            return !options.replay.empty();
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        char* end = nullptr;
        const double number = std::strtod(value, &end);
        const bool numeric = *value && *end == '\0' && number >= 0;
        if (name == "--corpus")
            options.corpora.push_back(value);
        else if (name == "--findings")
            options.findings = value;
        else if (!numeric)
            return false;
        else if (name == "--seconds")
            options.seconds = number;
        else if (name == "--runs")
            options.runs = static_cast<std::size_t>(number);
        else if (name == "--seed")
            options.seed = static_cast<std::uint64_t>(number);
        else if (name == "--timeout-ms")
            options.timeoutMs = static_cast<unsigned>(std::max(1.0, number));
        else if (name == "--memory-mb")
            options.memoryMb = static_cast<std::size_t>(number);
        else if (name == "--max-len")
            options.maxLength = static_cast<std::size_t>(std::max(1.0, number));
        else
            return false;
    }
    if (options.seconds < 0)
        options.seconds = options.runs ? 0 : 10;
    return true;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The files under `folder` (none when it is absent), sorted so that every
// run starts from the same seeds; with `suffixes`, only files ending so.
std::vector<std::string> FilesUnder(const std::string& folder, const std::vector<std::string>& suffixes)
{
    std::vector<std::string> files;
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return files;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const std::string name = Lower(it->path().filename().string());
        bool wanted = suffixes.empty();
        for (const std::string& suffix : suffixes)
            wanted = wanted || (name.size() >= suffix.size() &&
                                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
        if (wanted)
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> CollectSeeds(const CFuzzReader& reader, const COptions& options,
                                      const std::string& workDir)
{
    std::vector<std::string> paths;
    for (const std::string& folder : reader.seedFolders) {
        auto found = FilesUnder(SourceDir() + "/" + folder, {});
        paths.insert(paths.end(), found.begin(), found.end());
    }
    auto corpus = FilesUnder(SourceDir() + "/../shared/corpus", reader.seedSuffixes);
    paths.insert(paths.end(), corpus.begin(), corpus.end());
    for (const std::string& folder : options.corpora) {
        auto found = FilesUnder(folder, {});
        paths.insert(paths.end(), found.begin(), found.end());
    }
    if (reader.makeSeeds) {
        auto made = reader.makeSeeds(workDir);
        paths.insert(paths.end(), made.begin(), made.end());
    }
    std::vector<std::string> seeds;
    std::set<std::string> unique;
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::file_size(path, error) > options.maxLength || error)
            continue;
        std::string bytes = ReadWhole(path);
        if (unique.insert(bytes).second)
            seeds.push_back(std::move(bytes));
    }
    if (seeds.empty())
        seeds.push_back(std::string());
    return seeds;
}

std::uint64_t Fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

enum class EOutcome { Ok, Crash, Hang, Memory };

const char* OutcomeName(EOutcome outcome)
{
    switch (outcome) {
    case EOutcome::Crash: return "crash";
    case EOutcome::Hang: return "hang";
    case EOutcome::Memory: return "memory";
    default: return "ok";
    }
}

// Runs inputs in a child of this process that reads one input after another
// as the program reads file after file, until it has read a thousand (so
// that what leaks cannot add up to the memory limit) or fails. Each input is
// a file the runner rewrites; a pipe says "read it" and "done"; the coverage
// map is shared. A child forked per input would start each from the prepared
// state, but on this kind of machine every page it touches costs a copy, and
// a run would manage a tenth of the inputs; a fault is therefore confirmed
// in a fresh child before it is called reproducible.
class CChildRunner {
public:
    CChildRunner(const CFuzzReader& reader, const COptions& options, const std::string& workDir)
        : m_Reader(reader), m_Options(options), m_InputPath(workDir + "/input"),
          m_LogPath(workDir + "/log")
    {
        m_Input = ::open(m_InputPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        m_Log = ::open(m_LogPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
        m_Coverage.Create();
        std::signal(SIGPIPE, SIG_IGN);
    }
    ~CChildRunner()
    {
        Stop();
        ::close(m_Input);
        ::close(m_Log);
    }
    CChildRunner(const CChildRunner&) = delete;
    CChildRunner& operator=(const CChildRunner&) = delete;

    bool Ready() const { return m_Input >= 0 && m_Log >= 0; }
    // The inputs the child read, the last one included (at most 64).
    const std::vector<std::string>& History() const { return m_History; }
    CCoverage& Coverage() { return m_Coverage; }
    std::string Log() const { return ReadWhole(m_LogPath); }

    // One input in the running child (started when there is none).
    EOutcome Run(const std::string& bytes)
    {
        if (::ftruncate(m_Input, 0) != 0 || ::ftruncate(m_Log, 0) != 0 ||
            ::pwrite(m_Input, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            return EOutcome::Ok;
        if (m_Child <= 0 && !Start())
            return EOutcome::Ok;
        if (m_History.size() == 64)
            m_History.erase(m_History.begin());
        m_History.push_back(bytes);
        m_Coverage.Clear();
        char go = 'r';
        if (::write(m_ToChild, &go, 1) != 1)
            return Ended(false);
        // The child's alarm ends a hang; the driver's deadline, a little
        // later, covers a child that blocked it.
        pollfd p{m_FromChild, POLLIN, 0};
        int ready = 0;
        do
            ready = ::poll(&p, 1, static_cast<int>(m_Options.timeoutMs) + 1000);
        while (ready < 0 && errno == EINTR);
        char done = 0;
        if (ready == 0)
            return Ended(true);
        if (::read(m_FromChild, &done, 1) != 1)
            return Ended(false);
        if (++m_ReadByChild >= 1000)
            Stop();
        return EOutcome::Ok;
    }

    // The input again in a child of its own: what the fault needs is this
    // input alone, or also the inputs read before it.
    EOutcome RunAlone(const std::string& bytes)
    {
        Stop();
        EOutcome outcome = Run(bytes);
        Stop();
        return outcome;
    }

private:
    bool Start()
    {
        int toChild[2], fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0)
            return false;
        if (::pipe2(fromChild, O_CLOEXEC) != 0) {
            ::close(toChild[0]);
            ::close(toChild[1]);
            return false;
        }
        std::fflush(nullptr);
        m_Child = ::fork();
        if (m_Child == 0) {
            ::close(toChild[1]);
            ::close(fromChild[0]);
            RunChild(toChild[0], fromChild[1]);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_ToChild = toChild[1];
        m_FromChild = fromChild[0];
        m_ReadByChild = 0;
        m_History.clear();
        if (m_Child < 0) {
            Stop();
            return false;
        }
        return true;
    }

    // Ends the child after its last input read well.
    void Stop()
    {
        if (m_ToChild >= 0)
            ::close(m_ToChild);
        if (m_FromChild >= 0)
            ::close(m_FromChild);
        m_ToChild = m_FromChild = -1;
        if (m_Child > 0) {
            int status = 0;
            while (::waitpid(m_Child, &status, 0) < 0 && errno == EINTR) {
            }
        }
        m_Child = -1;
    }

    // The child did not answer: what became of it.
    EOutcome Ended(bool overdue)
    {
        if (overdue)
            ::kill(m_Child, SIGKILL);
        int status = 0;
        while (::waitpid(m_Child, &status, 0) < 0 && errno == EINTR) {
        }
        m_Child = -1;
        ::close(m_ToChild);
        ::close(m_FromChild);
        m_ToChild = m_FromChild = -1;
        if (overdue || (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM))
            return EOutcome::Hang;
        if (WIFEXITED(status) && WEXITSTATUS(status) == kOutOfMemoryExit)
            return EOutcome::Memory;
        const std::string log = Log();
        for (const char* sign : {"allocation-size-too-big", "out of memory", "out-of-memory",
                                 "rss-limit-exceeded", "std::bad_alloc"}) {
            if (log.find(sign) != std::string::npos)
                return EOutcome::Memory;
        }
        return EOutcome::Crash;
    }

    [[noreturn]] void RunChild(int commands, int answers)
    {
        ::dup2(m_Log, STDOUT_FILENO);
        ::dup2(m_Log, STDERR_FILENO);
        rlimit none{0, 0};
        ::setrlimit(RLIMIT_CORE, &none);
        if (!kAddressSanitizer && m_Options.memoryMb > 0) {
            rlim_t bytes = static_cast<rlim_t>(m_Options.memoryMb) << 20;
            rlimit memory{bytes, bytes};
            ::setrlimit(RLIMIT_AS, &memory);
        }
        std::set_new_handler([] {
            static const char text[] = "ordune-fuzz: out of memory\n";
            [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, text, sizeof text - 1);
            ::_exit(kOutOfMemoryExit);
        });
        m_Coverage.AttachChild();
        itimerval alarm{}, off{};
        alarm.it_value.tv_sec = m_Options.timeoutMs / 1000;
        alarm.it_value.tv_usec = static_cast<suseconds_t>(m_Options.timeoutMs % 1000) * 1000;
        char command = 0;
        while (::read(commands, &command, 1) == 1) {
            ::setitimer(ITIMER_REAL, &alarm, nullptr);
            m_Reader.read(m_InputPath);
            ::setitimer(ITIMER_REAL, &off, nullptr);
            if (::write(answers, &command, 1) != 1)
                break;
        }
        ::_exit(0);
    }

    const CFuzzReader& m_Reader;
    const COptions& m_Options;
    std::string m_InputPath;
    std::string m_LogPath;
    int m_Input = -1;
    int m_Log = -1;
    pid_t m_Child = -1;
    int m_ToChild = -1;
    int m_FromChild = -1;
    std::size_t m_ReadByChild = 0;
    std::vector<std::string> m_History;
    CCoverage m_Coverage;
};

struct CStats {
    std::size_t runs = 0;
    std::size_t seeds = 0;
    std::size_t kept = 0;  // inputs kept for new coverage
    std::map<EOutcome, std::size_t> findings;
    // The distinct faults, and how many of each kind were kept.
    std::set<std::string> signatures;
    std::map<EOutcome, std::size_t> kinds;
};

void PrintStats(const CFuzzReader& reader, const CStats& stats, double seconds, std::size_t edges)
{
    std::string found;
    for (EOutcome kind : {EOutcome::Crash, EOutcome::Hang, EOutcome::Memory}) {
        auto it = stats.findings.find(kind);
        found += " " + std::to_string(it == stats.findings.end() ? 0 : it->second) + " " +
                 OutcomeName(kind) + (kind == EOutcome::Crash ? "es" : kind == EOutcome::Hang ? "s" : "");
    }
    std::printf("%s: %zu runs in %.1f s (%.0f/s), %zu seeds, %zu kept, %s;%s (%zu distinct)\n",
                reader.name, stats.runs, seconds,
                seconds > 0 ? static_cast<double>(stats.runs) / seconds : 0.0, stats.seeds,
                stats.kept, edges ? (std::to_string(edges) + " edges").c_str() : "no coverage feedback",
                found.c_str(), stats.signatures.size());
    std::fflush(stdout);
}

// What tells one fault from another: the sanitizer's first report line or
// the first frame of our code in its stack, without addresses; a hang or a
// plain signal has no log, and then each input counts as its own.
std::string FaultSignature(EOutcome outcome, const std::string& log, const std::string& input)
{
    std::istringstream lines(log);
    std::string line, first;
    while (std::getline(lines, line)) {
        if (line.find("runtime error:") != std::string::npos)
            return line.substr(0, line.find(": runtime error:"));
        if (first.empty() && line.find("ERROR: ") != std::string::npos)
            first = line.substr(line.find("ERROR: "));
        if (!first.empty() && line.find(" in ") != std::string::npos &&
            line.find(SourceDir() + "/src/") != std::string::npos)
            return first.substr(0, first.find(" on ")) + " in" + line.substr(line.rfind(' '));
    }
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(input)));
    return std::string(OutcomeName(outcome)) + " " + hash;
}

// Keeps a reproducer and its log for each new fault, at most 20 a kind.
// `inputs` is the input alone, or when the fault needs them, the inputs read
// before it too (to be replayed in order; the last is the one that failed).
void KeepFinding(const CFuzzReader& reader, const COptions& options, EOutcome outcome,
                 const std::vector<std::string>& inputs, const std::string& log, CStats& stats)
{
    ++stats.findings[outcome];
    const std::string signature = FaultSignature(outcome, log, inputs.back());
    if (!stats.signatures.insert(signature).second || ++stats.kinds[outcome] > 20)
        return;
    std::error_code error;
    fs::create_directories(options.findings, error);
    char name[96];
    std::snprintf(name, sizeof name, "%s-%s-%016llx%s", reader.name, OutcomeName(outcome),
                  static_cast<unsigned long long>(Fnv1a(inputs.back())),
                  inputs.size() > 1 ? "-after" : "");
    const std::string path = (fs::path(options.findings) / name).string();
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        std::string file = path;
        if (inputs.size() > 1)
            file += (i < 10 ? ".0" : ".") + std::to_string(i);
        std::ofstream(file, std::ios::binary) << inputs[i];
    }
    std::ofstream(path + ".log", std::ios::binary) << log;
    std::fprintf(stderr, "%s: %s%s (%s), kept as %s\n", reader.name, OutcomeName(outcome),
                 inputs.size() > 1 ? " after the inputs before it" : "", signature.c_str(),
                 path.c_str());
}

int Fuzz(const CFuzzReader& reader, const COptions& options, const std::string& workDir)
{
    CChildRunner runner(reader, options, workDir);
    if (!runner.Ready()) {
        std::perror("ordune-fuzz: work files");
        return 2;
    }
    std::vector<std::string> corpus = CollectSeeds(reader, options, workDir);
    CStats stats;
    stats.seeds = corpus.size();
    CMutator mutator(options.seed, reader.dictionary);
    const auto start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    double nextReport = 60;
    for (;;) {
        if ((options.runs && stats.runs >= options.runs) ||
            (options.seconds > 0 && elapsed() >= options.seconds))
            break;
        // Every seed as it is first, then mutations of what was kept.
        std::string input;
        if (stats.runs < stats.seeds) {
            input = corpus[stats.runs];
        } else {
            const std::string& base = corpus[mutator.Below(corpus.size())];
            const std::string& other = corpus[mutator.Below(corpus.size())];
            input = mutator.Mutate(base, other, options.maxLength);
        }
        EOutcome outcome = runner.Run(input);
        ++stats.runs;
        if (outcome != EOutcome::Ok) {
            std::string log = runner.Log();
            std::vector<std::string> history = runner.History();
            EOutcome alone = runner.RunAlone(input);
            if (alone != EOutcome::Ok)
                KeepFinding(reader, options, alone, {input}, runner.Log(), stats);
            else
                KeepFinding(reader, options, outcome, history, log, stats);
        } else if (runner.Coverage().Merge() && stats.runs > stats.seeds) {
            corpus.push_back(input);
            ++stats.kept;
        }

        if (elapsed() >= nextReport && !(options.seconds > 0 && elapsed() >= options.seconds)) {
            PrintStats(reader, stats, elapsed(), runner.Coverage().Edges());
            nextReport += 60;
        }
    }
    PrintStats(reader, stats, elapsed(), runner.Coverage().Edges());
    return stats.findings.empty() ? 0 : 1;
}

// Reads each file in this process: for a debugger or a sanitizer's report.
int Replay(const CFuzzReader& reader, const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        std::fprintf(stderr, "%s: reading %s\n", reader.name, file.c_str());
        reader.read(fs::absolute(file).string());
    }
    std::fprintf(stderr, "%s: read %zu file(s) without a fault\n", reader.name, files.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    COptions options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    const CFuzzReader* reader = FindFuzzReader(options.reader);
    if (!reader)
        return Usage();
    if (g_PrivateStore.m_Dir.empty())
        return 2;
    // Relative paths of the command line are taken from where we started;
    // the system directory becomes the current one below.
    options.findings = fs::absolute(options.findings).string();
    for (std::string& folder : options.corpora)
        folder = fs::absolute(folder).string();
    for (std::string& file : options.replay)
        file = fs::absolute(file).string();

    static CFuzzHost host;
    SetHost(&host);
    ResetProgramObjects();
    EnterSystemDir();
    reader->prepare();
    const int result = options.replay.empty() ? Fuzz(*reader, options, g_PrivateStore.m_Dir)
                                              : Replay(*reader, options.replay);
    ReleaseFuzzDocument();
    return result;
}
