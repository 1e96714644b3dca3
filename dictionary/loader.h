// Loading a direction's dictionary on a worker thread. The worker fills a table of its
// own and never touches a window object: it posts its progress and its end to the main
// window, which takes the finished table on its own thread. Closing the window cancels the
// worker between lines and waits for it briefly.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "core/word_table.h"
#include "dictionary/data_file.h"
#include "framework/thread.h"

namespace kavrel {

// What a load posts to the window it was started for; lParam is the load's id. The main
// window takes no other private message.
// The load's percentage changed; wParam is the new percentage.
inline constexpr UINT kMsgLoadProgress = WM_APP + 1;
// The load has ended and its table is ready.
inline constexpr UINT kMsgLoadDone = WM_APP + 2;

class DictionaryLoader {
    struct Key {};  // only Start constructs loaders

public:
    explicit DictionaryLoader(Key) {}

    // Starts loading dataFile for the direction named direction; notify receives
    // kMsgLoadProgress and, last, kMsgLoadDone. Null when the thread could not start.
    static std::unique_ptr<DictionaryLoader> Start(HWND notify, std::string dataFile, std::string direction);

    // Cancels a load still running and waits for its worker (a bounded wait).
    ~DictionaryLoader();

    // The table the load built; call once, after kMsgLoadDone.
    WordTable TakeTable();
    // How the load ended; meaningful after kMsgLoadDone.
    LoadOutcome Outcome();

    // Tells this load's messages (their lParam) from those of an earlier one.
    unsigned Id() const { return shared_->id; }

private:
    // What the window and the worker share; the worker keeps it alive on its own.
    struct Shared {
        HWND notify = nullptr;
        unsigned id = 0;
        std::string dataFile;
        std::string direction;
        std::atomic<bool> cancel{false};
        std::mutex mutex;
        WordTable table;  // handed over under the mutex, with the outcome
        LoadOutcome outcome = LoadOutcome::kCancelled;
    };

    static void LoaderThreadProc(const std::shared_ptr<Shared>& shared);
    // Reads, unscrambles and files the data file into table; how the load ended.
    static LoadOutcome LoadInto(Shared& shared, WordTable& table);

    std::shared_ptr<Shared> shared_;
    win::WorkerThread thread_;
};

}  // namespace kavrel
