#include "driver/safeguards.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "report/fatal.hpp"

namespace adequacy {
namespace {

void openStandardDescriptors() {
    for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free descriptor is this one, the lower ones being open.
        int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened != descriptor) ::_exit(report::exitIoError);
    }
}

void onOutOfMemory() { report::fatalOutOfMemory(); }

}  // namespace

void installSafeguards() {
    openStandardDescriptors();
    std::set_new_handler(onOutOfMemory);
}

}  // namespace adequacy
