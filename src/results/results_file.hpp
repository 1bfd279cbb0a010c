#pragma once
// The results file, replaced whole at every write: a reader, or a run that
// is interrupted, only ever sees a complete document. A run holds it under
// an exclusive lock, as it holds the report, passing the lock from each
// version of the file to the next; a second run with the same results file
// stops, and leaves the first run's file alone.

#include <string>

namespace adequacy::results {

class ResultsFile {
  public:
    ResultsFile() = default;
    ~ResultsFile();
    ResultsFile(const ResultsFile&) = delete;
    ResultsFile& operator=(const ResultsFile&) = delete;

    // Locks the file the path names if it exists (following symbolic links);
    // if another run holds it, the program ends with one line on standard
    // error. A new name is locked when it is first written.
    void open(const std::string& path);

    // Puts `text` in the file's place: a regular file or a new name by an
    // atomic replacement, a device or FIFO by writing to it. Failing is a
    // fatal I/O error.
    void write(const std::string& text);

    bool opened() const { return !channel_.empty(); }

  private:
    void writeInPlace(const std::string& text);
    void replace(const std::string& text);
    int lockExisting(bool& inUse);
    int completeVersion(const std::string& text, std::string& temporary);
    bool linkIn(int fd, std::string& temporary);
    void tidy();

    std::string channel_;         // "results file NAME", for messages
    std::string target_;          // the path with its links followed
    std::string folder_;          // where the target is
    std::string leftoverPrefix_;  // of the temporary names beside it
    int held_ = -1;               // the version at the target, locked; -1 before there is one
    int direct_ = -1;             // a device or FIFO, open for writing
    bool inPlace_ = false;
    bool tidied_ = false;
};

}  // namespace adequacy::results
