#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// The leak checker misreads the thread-local storage of dlopen'ed image plugins unless
// it leaves __tls_get_addr alone; leaks are still reported.
// Each target is one translation unit, so this header is its only definition.
extern "C" __attribute__((used)) const char *__asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

// What every target needs: an application object for the image plugins and a scratch
// folder that lives as long as the run.
inline QTemporaryDir &scratch()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    return dir;
}

inline void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) != qint64(size))
        std::abort();
}

// A broken promise is a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
