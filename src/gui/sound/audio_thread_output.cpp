#include "gui/sound/audio_thread_output.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QTimer>
#include <vector>

namespace limenta {

namespace {

constexpr int kSampleRate = 44100;
// At most this many cues sound together; the newest cut the oldest.
constexpr std::size_t kVoices = 8;
// The stream's buffer: short enough that a cue starts at once, long enough not to starve.
constexpr qint64 kBufferMicroseconds = 80'000;
// How often the stream is topped up: a cue starts within this of its play call.
constexpr int kFeedMs = 10;
// How long closing the program waits for the audio thread before leaving it behind.
constexpr int kShutdownWaitMs = 2000;

// Lives on the audio thread: opens, feeds and closes the stream there.
class StreamWorker final : public QObject {
    Q_OBJECT

  public:
    StreamWorker(std::shared_ptr<Mixer> mixer, std::shared_ptr<std::atomic<bool>> streaming)
        : mixer_(std::move(mixer)), streaming_(std::move(streaming)) {}

    void open() {
        QAudioFormat format;
        format.setSampleRate(kSampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = new QAudioSink(format, this);
        sink_->setBufferSize(format.bytesForDuration(kBufferMicroseconds));
        connect(sink_, &QAudioSink::stateChanged, this, &StreamWorker::report);
        input_ = sink_->start();
        report();
        auto* feeder = new QTimer(this);
        connect(feeder, &QTimer::timeout, this, &StreamWorker::feed);
        feeder->start(kFeedMs);
    }

  private:
    // Fills what the stream has room for: the cues, or silence between them.
    void feed() {
        if (input_ == nullptr || sink_->error() != QAudio::NoError) {
            return;
        }
        const qsizetype frames = sink_->bytesFree() / 2;
        if (frames <= 0) {
            return;
        }
        samples_.resize(static_cast<std::size_t>(frames));
        mixer_->render(samples_);
        input_->write(reinterpret_cast<const char*>(samples_.data()), frames * 2);
    }

    void report() {
        *streaming_ = sink_->error() == QAudio::NoError && (sink_->state() == QAudio::ActiveState ||
                                                            sink_->state() == QAudio::IdleState);
    }

    std::shared_ptr<Mixer> mixer_;
    std::shared_ptr<std::atomic<bool>> streaming_;
    QAudioSink* sink_ = nullptr;
    QIODevice* input_ = nullptr;
    std::vector<std::int16_t> samples_;
};

}  // namespace

AudioThreadOutput::AudioThreadOutput()
    : mixer_(std::make_shared<Mixer>(kVoices)),
      streaming_(std::make_shared<std::atomic<bool>>(false)),
      thread_(std::make_unique<QThread>()) {
    thread_->setObjectName(QStringLiteral("audio"));
    auto* worker = new StreamWorker(mixer_, streaming_);
    worker->moveToThread(thread_.get());
    QObject::connect(thread_.get(), &QThread::started, worker, &StreamWorker::open);
    QObject::connect(thread_.get(), &QThread::finished, worker, &QObject::deleteLater);
    thread_->start();
}

AudioThreadOutput::~AudioThreadOutput() {
    thread_->quit();
    if (!thread_->wait(kShutdownWaitMs)) {
        // The server holds the thread; the program is closing, so leave it to the system
        // rather than hang here or destroy a running thread.
        (void)thread_.release();
    }
}

}  // namespace limenta

#include "audio_thread_output.moc"
