#pragma once
// Base of every image processor: runs a processor as passes, each pass either
// on the calling thread or split into bands of rows over worker threads.
#include <atomic>
#include <cstdint>

// Owned by the caller (the host adapter); outlives the processing. The check
// function asks the host whether the user aborted (nonzero: interrupted).
struct QrInterruptRecord {
    void* context = nullptr;
    int32_t (*check)(void* context, std::atomic<int32_t>* reason) = nullptr;
    std::atomic<int32_t> interrupted {0};  // never cleared by the framework
    std::atomic<int32_t> reason {0};  // 1000 out of memory, 1002 worker failed, ...
};

class QrInterruptible {
public:
    explicit QrInterruptible(QrInterruptRecord* record = nullptr) : interrupt_(record) { }
    virtual ~QrInterruptible() = default;

    void setInterruptRecord(QrInterruptRecord* record) { interrupt_ = record; }
    QrInterruptRecord* interruptRecord() const { return interrupt_; }
    // Polls the record (and through it the host). True once interrupted.
    bool isInterrupted() const;
    // Marks the record interrupted with `reason`; false when there is no record.
    bool setInterrupted(int32_t reason) const;

private:
    QrInterruptRecord* interrupt_;
};

class QrProgressSink {
public:
    virtual ~QrProgressSink() = default;
    virtual void progress(float fraction) = 0;
};

class QrProgressible {
public:
    void setProgressRange(float start, float end)
    {
        progressStart_ = start;
        progressEnd_ = end;
    }
    void setProgressSink(QrProgressSink* sink) { progressSink_ = sink; }

protected:
    // Reports `fraction` (0..1) of this processor's work mapped onto its range.
    void reportProgress(float fraction) const;

    float progressStart_ = 0.0f;
    float progressEnd_ = 1.0f;
    QrProgressSink* progressSink_ = nullptr;
};

class QrMultiProcessor : public QrInterruptible, public QrProgressible {
public:
    enum Status : int32_t { kOk = 0, kOutOfMemory = 1000, kThreadFailed = 1002 };

    explicit QrMultiProcessor(QrInterruptRecord* record = nullptr) : QrInterruptible(record) { }
    ~QrMultiProcessor() override = default;

    virtual void beginProcess() { }
    virtual void processBand() { }
    virtual void endProcess() { }
    virtual void beginPass() { }
    virtual void endPass() { }
    virtual void runPasses();
    virtual void run();
    virtual void setPassCount(int32_t passes) { passCount_ = passes; }
    virtual void setMultiThreaded(bool on) { multiThreaded_ = on; }
    virtual bool isMultiThreaded() const { return multiThreaded_; }
    virtual bool isRunningThreaded() const { return runningThreaded_.load(); }
    virtual int32_t threadCount() const;
    virtual int32_t processorCount() const;
    virtual int32_t threadIndex() const;

    int32_t passCount() const { return passCount_; }
    int32_t currentPass() const { return currentPass_; }

    // The rows [first, end) of the calling thread's band of [first, end).
    void bandRows(int32_t first, int32_t end, int32_t& bandFirst, int32_t& bandEnd) const;

    // The band split itself: thread `index` of `count` over [first, end).
    static void splitBand(int32_t first, int32_t end, int32_t index, int32_t count, bool threaded,
        int32_t& bandFirst, int32_t& bandEnd);
    // QUARN_MAX_PROCESSORS parsed as the thread limit; 0 means "no limit".
    // Unset, longer than three characters or a decimal value of 0 (which is
    // what text that is not a number reads as) give 0. A negative value gives
    // 1, so that no two threads are ever handed the same rows.
    static int32_t parseMaxProcessors(const char* value);

    // Test hooks. overrideProcessorCount makes the process behave as if it had
    // `count` processors (0 asks the operating system again);
    // resetMaxProcessorsForTesting makes the next threadCount read
    // QUARN_MAX_PROCESSORS again. Neither may be called while a pass runs.
    static void overrideProcessorCount(int32_t count);
    static void resetMaxProcessorsForTesting();

protected:
    void runPass();

private:
    static void sampleForkStatic(QrMultiProcessor* self);

    std::atomic<bool> runningThreaded_ {false};
    std::atomic<int32_t> status_ {kOk};
    int32_t passCount_ = 1;
    int32_t currentPass_ = 0;
    bool multiThreaded_ = true;
};
