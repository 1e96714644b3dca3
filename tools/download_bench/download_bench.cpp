// Times one retrieval as the offer runs it: RetrieveFile into kavrel.tmp with the offer
// window's per-read caption. Prints {"seconds": S, "bytes": N} for the body received.
#include <windows.h>

#include <cstdio>
#include <string>

#include "download/download_offer.h"
#include "download/retrieve_file.h"
#include "framework/message_loop.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavrel_download_bench URL\n");
        return 2;
    }
    // A modeless offer window shows the captions, as the modal one does during a download.
    kavrel::download::CDownloadOfferDlg offer;
    offer.m_strDirection = "bench";
    if (!offer.Create(nullptr)) return 1;
    kavrel::win::PumpWaitingMessages();
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const bool ok = kavrel::download::RetrieveFile(offer.Hwnd(), argv[1], kavrel::download::kTemporaryFile);
    QueryPerformanceCounter(&end);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(L"kavrel.tmp", GetFileExInfoStandard, &data);
    DeleteFileW(L"kavrel.tmp");
    if (!ok) return 1;
    std::printf("{\"seconds\": %.3f, \"bytes\": %lu}\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                data.nFileSizeLow);
    return 0;
}
