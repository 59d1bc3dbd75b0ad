#include "datfile/read_ahead.h"

#include "datfile/reader.h"

#include <stdexcept>

namespace plv::dat {
namespace {

// Records handed over at a time, and batches waiting at most: enough to keep both threads
// busy, little enough to keep a large file's rows from piling up in memory.
constexpr std::size_t kBatchSize = 256;
constexpr std::size_t kMaxWaiting = 8;

} // namespace

ReadAhead::ReadAhead(std::string_view image, Layout layout, const KeyNames& keys,
                     std::string fileName, std::int64_t commandCount)
    : image_(image), layout_(layout), keys_(keys), fileName_(std::move(fileName)),
      commandCount_(commandCount), thread_([this] { run(); }) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

ReadStep& ReadAhead::next() {
    if (nextInCurrent_ == current_.size()) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty(); });
        current_ = std::move(ready_.front());
        ready_.pop_front();
        nextInCurrent_ = 0;
        lock.unlock();
        changed_.notify_all();
    }
    return current_[nextInCurrent_++];
}

bool ReadAhead::deliver(std::vector<ReadStep>& batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || ready_.size() < kMaxWaiting; });
    if (stopping_) {
        return false;
    }
    ready_.push_back(std::move(batch));
    batch.clear();
    batch.reserve(kBatchSize);
    lock.unlock();
    changed_.notify_all();
    return true;
}

void ReadAhead::run() {
    std::vector<ReadStep> batch;
    batch.reserve(kBatchSize);
    try {
        readAll(batch);
    } catch (...) {
        // readAll has put the failure in the batch; anything else ends the reading too.
        if (batch.empty() || batch.back().kind != ReadStep::Kind::Failure) {
            batch.emplace_back();
            batch.back().kind = ReadStep::Kind::Failure;
            batch.back().failure = std::current_exception();
        }
    }
    if (!batch.empty()) {
        deliver(batch);
    }
}

void ReadAhead::readAll(std::vector<ReadStep>& batch) {
    ByteReader in(image_, kFirstRecordPosition);
    auto begin = [&](ReadStep::Kind kind) -> ReadStep& {
        if (batch.size() == kBatchSize && !deliver(batch)) {
            throw std::runtime_error("reading stopped");
        }
        ReadStep& step = batch.emplace_back();
        step.kind = kind;
        step.start = in.position();
        return step;
    };
    auto failed = [&](ReadStep& step, const std::string& name) {
        step.kind = ReadStep::Kind::Failure;
        step.failure = std::current_exception();
        step.failedName = name;
        throw;
    };
    for (std::int64_t i = 0; i < commandCount_; ++i) {
        ReadStep& step = begin(ReadStep::Kind::Command);
        try {
            readCommand(in, layout_, &keys_, step.command);
        } catch (...) {
            failed(step, step.command.name);
        }
        step.end = in.position();
        step.command.body.clear();
        if (!step.command.skipped()) {
            step.row = commandRowWithoutStates(fileName_, step.command);
        }
    }
    ReadStep& section = begin(ReadStep::Kind::ListSection);
    try {
        section.listCount = in.longValue() & 0xFFFF;
    } catch (...) {
        failed(section, {});
    }
    section.end = in.position();
    std::uint32_t lists = section.listCount;
    for (std::uint32_t i = 0; i < lists; ++i) {
        ReadStep& step = begin(ReadStep::Kind::List);
        ListRecord record;
        try {
            readList(in, record);
        } catch (...) {
            failed(step, record.name);
        }
        step.end = in.position();
        step.row = listRow(fileName_, record);
    }
}

} // namespace plv::dat
