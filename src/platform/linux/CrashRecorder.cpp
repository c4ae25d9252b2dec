#include "platform/linux/CrashRecorder.h"

#include "core/Log.h"
#include "core/Threads.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <fcntl.h>
#include <limits.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#define UNW_LOCAL_ONLY
#include <libunwind.h>

namespace kivo {
namespace {

struct FatalSignal {
    int number;
    const char* name;
};
constexpr FatalSignal kSignals[] = {
    {SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"}, {SIGFPE, "SIGFPE"}, {SIGILL, "SIGILL"}, {SIGABRT, "SIGABRT"}};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
constexpr int kMostFrames = 128;
// "crash-<seconds>-<process>-<thread>.partial" at its longest: the reader opens records by their whole
// path, so the folder leaves room for it within PATH_MAX.
constexpr qsizetype kLongestRecordName =
    sizeof "crash-18446744073709551615-4294967295-4294967295.partial" - 1;

// Prepared outside the handler, read inside it. The folder is held open: the handler names files
// relative to it and builds no paths.
std::atomic<int> folder{-1};
struct sigaction previous[kSignalCount];
std::atomic<bool> installed{false};
std::atomic<bool> recording{false};
// What std::terminate was ending on, set just before it aborts without allocating: the exception's type as
// the compiler names it (the next start makes it readable) and its message.
std::atomic<bool> terminating{false};
char terminateType[256];
char terminateMessage[512];
// A stack overflow leaves no stack to run the handler on.
alignas(16) char alternateStack[64 * 1024];

void writeAll(int fd, const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
}

// Copies a string into a fixed buffer, as one line.
void copyLine(char* to, size_t size, const char* from) {
    size_t n = 0;
    for (; from && from[n] && n < size - 1; ++n)
        to[n] = from[n] == '\n' || from[n] == '\r' ? ' ' : from[n];
    to[n] = '\0';
}

// Appends to a fixed buffer without allocating.
class Line {
public:
    void text(const char* s) {
        while (*s && used_ < sizeof buffer_ - 1)
            buffer_[used_++] = *s++;
    }
    void number(unsigned long value, unsigned base = 10) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value && n < 24);
        if (base == 16)
            text("0x");
        while (n > 0 && used_ < sizeof buffer_ - 1)
            buffer_[used_++] = digits[--n];
    }
    void writeTo(int fd) {
        buffer_[used_++] = '\n';
        writeAll(fd, buffer_, used_);
        used_ = 0;
    }
    const char* c_str() {
        buffer_[used_] = '\0';
        return buffer_;
    }

private:
    char buffer_[768];
    size_t used_ = 0;
};

// The raw return addresses, from the interrupted code outwards (not from this handler); the next start
// names them. Only the stack walk itself runs here: libunwind's local walk reads the unwind tables in
// memory and, once `warmUpStackWalk` has set it up, neither allocates nor blocks.
void writeFrames(int fd, void* context) {
    unw_cursor_t cursor;
    if (unw_init_local2(&cursor, static_cast<unw_context_t*>(context), UNW_INIT_SIGNAL_FRAME) != 0)
        return;
    Line line;
    int frames = 0;
    do {
        unw_word_t ip = 0;
        if (unw_get_reg(&cursor, UNW_REG_IP, &ip) != 0 || ip == 0)
            break;
        line.text("frame ");
        line.number(ip, 16);
        line.writeTo(fd);
    } while (++frames < kMostFrames && unw_step(&cursor) > 0);
}

// The load map, to turn the addresses into modules and offsets.
void writeLoadMap(int fd) {
    const int maps = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (maps < 0)
        return;
    writeAll(fd, "maps\n", 5);
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(maps, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        writeAll(fd, chunk, static_cast<size_t>(n));
    }
    ::close(maps);
}

void writeRecord(int index, void* context) {
    const int directory = folder.load();
    if (directory < 0)
        return;
    const pid_t thread = static_cast<pid_t>(::syscall(SYS_gettid));
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);

    Line name;
    name.text("crash-");
    name.number(static_cast<unsigned long>(now.tv_sec));
    name.text("-");
    name.number(static_cast<unsigned long>(::getpid()));
    name.text("-");
    name.number(static_cast<unsigned long>(thread));
    Line partial = name;
    partial.text(".partial");
    name.text(".record");
    const char* partialName = partial.c_str();

    const int fd = ::openat(directory, partialName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // What matters most first: a handler cut short leaves a partial record that still says something.
    Line line;
    line.text("signal ");
    line.number(static_cast<unsigned long>(kSignals[index].number));
    line.text(" ");
    line.text(kSignals[index].name);
    line.writeTo(fd);
    char kernelName[17] = {};
    const char* threadName = currentThreadName();
    if (!threadName[0]) {
        ::prctl(PR_GET_NAME, kernelName);
        threadName = kernelName;
    }
    line.text("thread ");
    line.number(static_cast<unsigned long>(thread));
    line.text(" ");
    line.text(threadName);
    line.writeTo(fd);
    line.text("time ");
    line.number(static_cast<unsigned long>(now.tv_sec));
    line.writeTo(fd);
    if (terminating.load()) {
        line.text("terminate");
        line.writeTo(fd);
        if (terminateType[0]) {
            line.text("exception ");
            line.text(terminateType);
            line.writeTo(fd);
        }
        if (terminateMessage[0]) {
            line.text("message ");
            line.text(terminateMessage);
            line.writeTo(fd);
        }
    }
    writeFrames(fd, context);
    writeLoadMap(fd);
    ::fsync(fd);
    ::close(fd);
    ::renameat(directory, partialName, directory, name.c_str());
}

void onFatalSignal(int number, siginfo_t* info, void* context) {
    const int saved = errno;
    int index = 0;
    while (index < kSignalCount - 1 && kSignals[index].number != number)
        ++index;
    if (!recording.exchange(true)) {
        writeRecord(index, context);
    } else {
        // Another thread is writing its record: give it time, then die with it.
        struct timespec pause {
            0, 50'000'000
        };
        for (int i = 0; i < 40; ++i)
            ::nanosleep(&pause, nullptr);
    }
    // Die as before: the previous handler (the default one, or a sanitizer's) gets the signal again. A
    // fault the kernel raised happens again when this handler returns, with its own details; a signal
    // that was sent is sent again.
    ::sigaction(number, &previous[index], nullptr);
    errno = saved;
    if (!info || info->si_code <= 0 || number == SIGABRT)
        ::raise(number);
}

[[noreturn]] void onTerminate() {
    // Only what needs no allocation: the heap may be what failed. The name is made readable at the next
    // start.
    if (std::exception_ptr current = std::current_exception()) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        copyLine(terminateType, sizeof terminateType, type ? type->name() : "");
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            copyLine(terminateMessage, sizeof terminateMessage, e.what());
        } catch (...) {
        }
    }
    terminating.store(true);
    // The SIGABRT handler writes the record, with this reason and the stack from here.
    std::abort();
}

// The walker's first use sets up its caches, locks and memory checks (a mutex, sigprocmask, mmap) and
// binds its calls: done here, so that the handler finds them ready.
void warmUpStackWalk() {
    unw_context_t context;
    unw_cursor_t cursor;
    if (unw_getcontext(&context) != 0 || unw_init_local(&cursor, &context) != 0)
        return;
    int frames = 0;
    while (++frames < kMostFrames && unw_step(&cursor) > 0) {
        unw_word_t ip = 0;
        unw_get_reg(&cursor, UNW_REG_IP, &ip);
    }
}

} // namespace

bool CrashRecorder::install(const QString& path) {
    const QString absolute = QDir(path).absolutePath();
    const QByteArray encoded = QFile::encodeName(absolute);
    if (encoded.size() + 1 + kLongestRecordName >= PATH_MAX) {
        qCWarning(lcLifecycle, "Crash records: the folder %s is too long (at most %lld bytes); none are kept",
                  qUtf8Printable(path), static_cast<long long>(PATH_MAX - 2 - kLongestRecordName));
        return false;
    }
    const int fd =
        QDir().mkpath(absolute) ? ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (fd < 0) {
        qCWarning(lcLifecycle, "Crash records: cannot use %s", qUtf8Printable(path));
        return false;
    }
    QFile::setPermissions(absolute, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const int replaced = folder.exchange(fd);
    if (replaced >= 0)
        ::close(replaced);
    if (installed.exchange(true))
        return true;

    warmUpStackWalk();
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    ::sigaltstack(&stack, nullptr);
    for (int i = 0; i < kSignalCount; ++i) {
        struct sigaction action {};
        action.sa_sigaction = onFatalSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        ::sigaction(kSignals[i].number, &action, &previous[i]);
    }
    std::set_terminate(onTerminate);
    return true;
}

} // namespace kivo
