// The loader's worker: read, unscramble, file every line, post the progress and the end.
#include "dictionary/loader.h"

#include <exception>
#include <new>
#include <utility>

#include "core/dictionary_load.h"
#include "core/scramble.h"
#include "dictionary/data_file.h"
#include "framework/error_report.h"

namespace kavrel {
namespace {

// How long closing the window waits for a worker to notice its cancel: loading stops
// between lines, so this is only reached by a worker stuck in the file system.
constexpr DWORD kCancelWaitMs = 5000;
constexpr DWORD kCancelPollMs = 50;

std::atomic<unsigned> lastLoadId{0};

}  // namespace

std::unique_ptr<DictionaryLoader> DictionaryLoader::Start(HWND notify, std::string dataFile, std::string direction) {
    auto loader = std::make_unique<DictionaryLoader>(Key{});
    loader->shared_ = std::make_shared<Shared>();
    loader->shared_->notify = notify;
    loader->shared_->id = ++lastLoadId;
    loader->shared_->dataFile = std::move(dataFile);
    loader->shared_->direction = std::move(direction);
    std::shared_ptr<Shared> shared = loader->shared_;
    if (!loader->thread_.Start([shared] { LoaderThreadProc(shared); })) return nullptr;
    return loader;
}

DictionaryLoader::~DictionaryLoader() {
    if (!thread_.Running()) return;
    shared_->cancel = true;
    // The quit message ends a message box the worker may be showing; it is sent again
    // while waiting, in case the worker had no message queue yet when it was first sent.
    for (DWORD waited = 0; waited < kCancelWaitMs; waited += kCancelPollMs) {
        thread_.PostQuit();
        if (thread_.WaitForEnd(kCancelPollMs)) return;
    }
}

WordTable DictionaryLoader::TakeTable() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return std::exchange(shared_->table, WordTable());
}

LoadOutcome DictionaryLoader::Outcome() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->outcome;
}

void DictionaryLoader::LoaderThreadProc(const std::shared_ptr<Shared>& shared) {
    WordTable table;
    LoadOutcome outcome = LoadOutcome::kUnreadable;
    try {
        outcome = LoadInto(*shared, table);
        if (outcome == LoadOutcome::kCancelled) return;  // nobody takes the table
    } catch (...) {
        // Whatever went wrong on the way (the offer included), the window must get its
        // controls back: the load ends empty, and a save will not replace the file.
        table = WordTable();
        outcome = LoadOutcome::kUnreadable;
        win::ReportCaughtException(nullptr);
    }
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->table = std::move(table);
        shared->outcome = outcome;
    }
    PostMessageW(shared->notify, kMsgLoadDone, 0, shared->id);
}

LoadOutcome DictionaryLoader::LoadInto(Shared& shared, WordTable& table) {
    DataFileRead read = ReadDataFileWithOutcome(shared.dataFile, shared.direction);
    UnscrambleText(read.bytes);
    try {
        const bool complete = LoadDictionaryText(
            std::move(read.bytes), table,
            [&](int percent) {
                PostMessageW(shared.notify, kMsgLoadProgress, static_cast<WPARAM>(percent), shared.id);
            },
            &shared.cancel);
        return complete ? read.outcome : LoadOutcome::kCancelled;
    } catch (const std::exception& error) {
        // A file too large for this process's memory: it loads as an empty dictionary
        // and the user is told, as for a file that cannot be read.
        table = WordTable();
        ReportLoadFailure();
        return dynamic_cast<const std::bad_alloc*>(&error) != nullptr ? LoadOutcome::kOutOfMemory
                                                                     : LoadOutcome::kTooLarge;
    }
}

}  // namespace kavrel
