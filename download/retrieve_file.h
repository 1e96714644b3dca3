// Fetching one address over HTTP into a local file, with one redirect, the platform's
// password dialog on 401, progress in a window's caption and cancel with Escape.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "framework/internet.h"

namespace kavrel::download {

// The session of a retrieval: the program's agent name, the system's proxy settings.
class CDownloadSession : public win::CInternetSession {
public:
    CDownloadSession();
};

// A protocol failure of the retrieval, its diagnostic line already written.
class CTearException : public std::exception {
public:
    enum : int { kRequestedAddress = 1, kRedirect = 2 };
    explicit CTearException(int code) : m_nCode(code) {}
    const char* what() const noexcept override { return "CTearException"; }
    int m_nCode;
};

// Fetches url with a GET and stores the body in tempFile; true when the whole body was
// received and stored with a final status 200. Runs on window's thread, showing its
// progress in window's caption; Escape in window's queue cancels, and so does a quit
// message (posted again for the loops around). A failure or a cancel never leaves what it
// wrote in tempFile: the file is not created or is deleted. Diagnostic lines go to the
// standard error stream. A session that cannot be opened (CInternetException) and a temporary file that
// cannot be written (win::FileException) leave as exceptions.
bool RetrieveFile(HWND window, std::string url, std::string tempFile);

}  // namespace kavrel::download
