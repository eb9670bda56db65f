#pragma once

namespace kavoret {

// The results file as the screens use it. File errors are handled inside
// (retries, the message, and the end of the program where fatal).
class ResultsStore {
public:
    virtual ~ResultsStore() = default;
    // Recomputes every per-(level, student) figure of the shared state from the file.
    virtual void 回数求() = 0;
    // Records the finished run of the shared state at this level and sets the
    // best-time flags.
    virtual void Seisekikiroku(int level) = 0;
};

} // namespace kavoret
