#include "stdoutCapture.h"

#include <unistd.h>

#include <stdexcept>

StdoutCapture::StdoutCapture() : file_(std::tmpfile()), savedStdout_(-1)
{
    if (!file_)
        throw std::runtime_error("cannot create a temporary file for standard output");
    std::fflush(stdout);
    savedStdout_ = dup(STDOUT_FILENO);
    if (savedStdout_ < 0 || dup2(fileno(file_), STDOUT_FILENO) < 0)
        throw std::runtime_error("cannot redirect standard output");
}

StdoutCapture::~StdoutCapture()
{
    std::fflush(stdout);
    dup2(savedStdout_, STDOUT_FILENO);
    close(savedStdout_);
    std::fclose(file_);
}

std::size_t StdoutCapture::written() const
{
    const off_t end = lseek(STDOUT_FILENO, 0, SEEK_CUR);
    return end < 0 ? 0 : static_cast<std::size_t>(end);
}

std::string StdoutCapture::text() const
{
    std::fflush(stdout);
    std::string out(written(), '\0');
    if (pread(fileno(file_), out.data(), out.size(), 0) != static_cast<ssize_t>(out.size()))
        throw std::runtime_error("cannot read back standard output");
    return out;
}
