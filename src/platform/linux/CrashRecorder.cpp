#include "platform/linux/CrashRecorder.h"

#include "core/Log.h"

#include <QDir>
#include <QFile>

#include <atomic>
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

// Prepared outside the handler, read inside it.
char directory[PATH_MAX - 64];
struct sigaction previous[kSignalCount];
std::atomic<bool> installed{false};
std::atomic<bool> recording{false};
// What std::terminate was ending on, set just before it aborts.
char terminateReason[512];
// A stack overflow leaves no stack to run the handler on.
alignas(16) char alternateStack[64 * 1024];

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
        size_t done = 0;
        while (done < used_) {
            const ssize_t n = ::write(fd, buffer_ + done, used_ - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
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

void writeRecord(int index, void* context) {
    const pid_t thread = static_cast<pid_t>(::syscall(SYS_gettid));
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);

    Line path;
    path.text(directory);
    path.text("/crash-");
    path.number(static_cast<unsigned long>(now.tv_sec));
    path.text("-");
    path.number(static_cast<unsigned long>(::getpid()));
    path.text("-");
    path.number(static_cast<unsigned long>(thread));
    Line partial = path;
    partial.text(".partial");
    path.text(".record");
    char finalPath[sizeof directory + 64];
    std::strncpy(finalPath, path.c_str(), sizeof finalPath - 1);
    finalPath[sizeof finalPath - 1] = '\0';
    const char* partialPath = partial.c_str();

    const int fd = ::open(partialPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    Line line;
    line.text("signal ");
    line.number(static_cast<unsigned long>(kSignals[index].number));
    line.text(" ");
    line.text(kSignals[index].name);
    line.writeTo(fd);
    if (terminateReason[0]) {
        line.text("reason ");
        line.text(terminateReason);
        line.writeTo(fd);
    }
    char threadName[17] = {};
    ::prctl(PR_GET_NAME, threadName);
    line.text("thread ");
    line.number(static_cast<unsigned long>(thread));
    line.text(" ");
    line.text(threadName);
    line.writeTo(fd);
    line.text("time ");
    line.number(static_cast<unsigned long>(now.tv_sec));
    line.writeTo(fd);

    // From the interrupted code outwards, not from this handler.
    unw_cursor_t cursor;
    if (unw_init_local2(&cursor, static_cast<unw_context_t*>(context), UNW_INIT_SIGNAL_FRAME) == 0) {
        int frames = 0;
        do {
            unw_word_t ip = 0;
            if (unw_get_reg(&cursor, UNW_REG_IP, &ip) != 0 || ip == 0)
                break;
            line.text("frame ");
            line.number(ip, 16);
            char name[512];
            unw_word_t offset = 0;
            if (unw_get_proc_name(&cursor, name, sizeof name, &offset) == 0) {
                line.text(" ");
                line.text(name);
                line.text("+");
                line.number(offset, 16);
            }
            line.writeTo(fd);
        } while (++frames < kMostFrames && unw_step(&cursor) > 0);
    }
    ::fsync(fd);
    ::close(fd);
    // Only a whole record is ever read.
    ::rename(partialPath, finalPath);
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
    const char* what = "std::terminate";
    std::string text = what;
    if (std::exception_ptr current = std::current_exception()) {
        int status = -1;
        const std::type_info* type = abi::__cxa_current_exception_type();
        char* name = type ? abi::__cxa_demangle(type->name(), nullptr, nullptr, &status) : nullptr;
        text += ": uncaught ";
        text += status == 0 && name ? name : (type ? type->name() : "exception");
        std::free(name);
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            text += ": ";
            text += e.what();
        } catch (...) {
        }
    }
    for (char& c : text) {
        if (c == '\n')
            c = ' ';
    }
    std::strncpy(terminateReason, text.c_str(), sizeof terminateReason - 1);
    // The SIGABRT handler writes the record, with this reason and the stack from here.
    std::abort();
}

} // namespace

bool CrashRecorder::install(const QString& path) {
    const QByteArray encoded = QFile::encodeName(QDir(path).absolutePath());
    if (encoded.size() >= static_cast<qsizetype>(sizeof directory) || !QDir().mkpath(path)) {
        qCWarning(lcLifecycle, "Crash records: cannot use %s", qUtf8Printable(path));
        return false;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    std::memcpy(directory, encoded.constData(), static_cast<size_t>(encoded.size()) + 1);
    if (installed.exchange(true))
        return true;

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
