#include <QFile>
#include <QRandomGenerator>
#include <cmath>
#include <vector>

#include "assetgen.h"

namespace {

constexpr int kRate = 44100;

struct Note
{
    double beat;     // start, in beats
    double length;   // in beats
    int midi;        // pitch
    double loudness; // 0..1
};

double frequency(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A plucked or bowed tone: a few harmonics under an attack-decay envelope.
void addTone(std::vector<float> &out, double start, double seconds, double hz, double loudness,
             double brightness, double decay)
{
    const int from = int(start * kRate);
    const int count = int(seconds * kRate);
    for (int k = 0; k < count && from + k < int(out.size()); ++k) {
        const double t = double(k) / kRate;
        const double attack = std::min(1.0, t / 0.012);
        const double release = std::min(1.0, (seconds - t) / 0.05);
        const double env = attack * release * std::exp(-t * decay);
        double v = std::sin(2 * M_PI * hz * t);
        v += brightness * 0.5 * std::sin(2 * M_PI * 2 * hz * t);
        v += brightness * 0.25 * std::sin(2 * M_PI * 3 * hz * t);
        out[size_t(from + k)] += float(v * env * loudness);
    }
}

void addClick(std::vector<float> &out, double start, double loudness, QRandomGenerator &rng)
{
    const int from = int(start * kRate);
    for (int k = 0; k < kRate / 40 && from + k < int(out.size()); ++k) {
        const double t = double(k) / kRate;
        const double noise = rng.generateDouble() * 2 - 1;
        out[size_t(from + k)] += float(noise * std::exp(-t * 180) * loudness);
    }
}

void writeWav(const QString &path, std::vector<float> samples)
{
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    const float gain = peak > 0 ? 0.85f / peak : 1.0f;
    QByteArray pcm;
    pcm.reserve(int(samples.size() * 2));
    for (float s : samples) {
        const auto v = qint16(std::lround(s * gain * 32767));
        pcm.append(char(v & 0xFF));
        pcm.append(char((v >> 8) & 0xFF));
    }
    auto u32 = [](quint32 v) {
        return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24);
    };
    auto u16 = [](quint16 v) { return QByteArray(1, char(v)) + char(v >> 8); };
    QByteArray wav = "RIFF" + u32(quint32(36 + pcm.size())) + "WAVEfmt " + u32(16) + u16(1) +
                     u16(1) + u32(kRate) + u32(kRate * 2) + u16(2) + u16(16) + "data" +
                     u32(quint32(pcm.size())) + pcm;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(wav);
}

// The waiting tune: a calm pentatonic melody over slow chords, 72 beats a minute.
std::vector<float> calmTune()
{
    const double beat = 60.0 / 72;
    const int bars = 10; // 4 beats each: 33 s
    std::vector<float> out(size_t((bars * 4 * beat + 2) * kRate), 0.0f);
    const int chords[][3] = {{57, 60, 64}, {53, 57, 60}, {55, 59, 62}, {52, 55, 60}};
    const int melody[] = {69, 72, 74, 76, 74, 72, 69, 67, 69, 72, 76, 79, 76, 74,
                          72, 74, 72, 69, 67, 64, 67, 69, 72, 69, 76, 74, 72, 69,
                          67, 69, 72, 69, 74, 76, 79, 76, 74, 72, 69, 69};
    for (int bar = 0; bar < bars; ++bar) {
        for (int n : chords[bar % 4])
            addTone(out, bar * 4 * beat, 4 * beat, frequency(n), 0.18, 0.2, 0.35);
        for (int k = 0; k < 4; ++k) {
            const int note = melody[(bar * 4 + k) % std::size(melody)];
            addTone(out, (bar * 4 + k) * beat, beat * 0.95, frequency(note), 0.35, 0.5, 1.2);
        }
    }
    return out;
}

// The drawing tune: a lively paso-doble-like figure in the Phrygian dominant mode, 132 beats a
// minute, with castanet clicks.
std::vector<float> livelyTune()
{
    const double beat = 60.0 / 132;
    const int bars = 18; // 4 beats each: 32.7 s
    std::vector<float> out(size_t((bars * 4 * beat + 2) * kRate), 0.0f);
    QRandomGenerator rng(132);
    const int scale[] = {64, 65, 68, 69, 71, 72, 74, 76};
    const int bass[] = {40, 40, 41, 40, 45, 44, 41, 40};
    const int figure[] = {0, 1, 2, 1, 0, 2, 3, 4, 5, 4, 3, 2, 1, 2, 1, 0};
    for (int bar = 0; bar < bars; ++bar) {
        const int shift = (bar / 4) % 2 == 0 ? 0 : 3;
        addTone(out, bar * 4 * beat, 2 * beat, frequency(bass[bar % 8]), 0.4, 0.6, 2.0);
        addTone(out, (bar * 4 + 2) * beat, 2 * beat, frequency(bass[(bar + 1) % 8]), 0.35, 0.6,
                2.0);
        for (int k = 0; k < 8; ++k) { // eighth notes
            const int step = figure[(bar * 8 + k) % std::size(figure)] + shift;
            const int note = scale[step % 8] + (step >= 8 ? 12 : 0);
            const double accent = (k % 4 == 0) ? 0.45 : 0.3;
            addTone(out, (bar * 4 + k * 0.5) * beat, beat * 0.45, frequency(note), accent, 0.9,
                    5.0);
        }
        for (int k = 0; k < 4; ++k) {
            addClick(out, (bar * 4 + k) * beat, 0.25, rng);
            addClick(out, (bar * 4 + k + 0.75) * beat, 0.15, rng);
        }
    }
    return out;
}

} // namespace

void makeTunes(const QString &workDir)
{
    writeWav(workDir + QStringLiteral("/calm.wav"), calmTune());
    writeWav(workDir + QStringLiteral("/lively.wav"), livelyTune());
}
