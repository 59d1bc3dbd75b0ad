#pragma once

#include "catalogue/user_row.h"
#include "datfile/record.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace plv::dat {

// One step of reading a command file, in file order: a command (its row made, all but the
// state ids, which need the catalogue), the count that opens the LIST section, a LIST, or
// the failure that ended the reading.
struct ReadStep {
    enum class Kind : std::uint8_t { Command, ListSection, List, Failure };
    Kind kind = Kind::Command;
    std::int64_t start = 0; // where the record (or the LIST count) starts
    std::int64_t end = 0;   // the first byte after it
    CommandRecord command;  // Command: what its row does not hold (states, unknown steps)
    UserRow row;            // Command, List
    std::uint32_t listCount = 0;
    std::exception_ptr failure;
    std::string failedName; // the raw name of the record that could not be read
};

// Reads the records on a thread of its own, a few batches ahead of the caller: decoding
// the bodies then runs beside the catalogue's inserts instead of before each of them. The
// image and key names must outlive the reader.
class ReadAhead {
  public:
    ReadAhead(std::string_view image, Layout layout, const KeyNames& keys, std::string fileName,
              std::int64_t commandCount);
    // Stops the reading thread, also half-way.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next step, waiting for it if need be. After a Failure there is none.
    ReadStep& next();

  private:
    void run();
    void readAll(std::vector<ReadStep>& batch);
    // Hands a batch over; false once the caller has gone.
    bool deliver(std::vector<ReadStep>& batch);

    std::string_view image_;
    Layout layout_;
    const KeyNames& keys_;
    std::string fileName_;
    std::int64_t commandCount_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<ReadStep>> ready_;
    bool stopping_ = false;

    std::vector<ReadStep> current_; // the batch being consumed
    std::size_t nextInCurrent_ = 0;
    std::thread thread_;
};

} // namespace plv::dat
