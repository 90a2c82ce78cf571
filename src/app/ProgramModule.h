#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

// A part of the program built as a shared library of its own (the web tabs'
// browser, the OpenGL video surface), so a start that never uses it never
// maps it. It lies beside the program (the build) or in the program's lib
// folder (an installation) and is loaded once, when first needed.
class ProgramModule {
public:
    // fileName "waveorbit_web.so"; libFolder "lib/waveorbit", relative to the
    // program's parent folder; entryName the function the module exports.
    ProgramModule(const char* fileName, const char* libFolder, const char* entryName)
        : fileName_(fileName), libFolder_(libFolder), entryName_(entryName) {}

    // Where the module is looked for, in order.
    QStringList CandidatePaths() const;
    // The module's entry function: loaded at the first call; null when it
    // cannot be (Error() says why), also at every later call.
    QFunctionPointer Entry();
    bool IsLoaded() const { return entry_ != nullptr; }
    const QString& Error() const { return error_; }

private:
    const char* fileName_;
    const char* libFolder_;
    const char* entryName_;
    QLibrary library_;
    QFunctionPointer entry_ = nullptr;
    bool tried_ = false;
    QString error_;
};
