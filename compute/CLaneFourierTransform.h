#pragma once

#include <memory>
#include <vector>

namespace KVL
{
class CFastFourierTransform;

// Discrete Fourier transforms of up to four real signals of one length n at once,
// one signal per lane of a four-float vector: the three axes of a block go through
// one transform for the price of about one. Lengths that are powers of two take an
// own radix-4 transform whose every butterfly works on the four lanes; other
// lengths go lane by lane through CFastFourierTransform.
class CLaneFourierTransform
{
public:
    using Lanes = float __attribute__((vector_size(16)));

    explicit CLaneFourierTransform(int n); // n >= 2
    ~CLaneFourierTransform();
    // One per size and thread, as CFastFourierTransform keeps them.
    static std::shared_ptr<CLaneFourierTransform> ForSize(int n);

    int Size() const { return m_N; }
    // Bins 0..n/2 (real and imaginary parts) of n real samples per lane.
    void ForwardReal(const Lanes* signal, std::vector<Lanes>& re, std::vector<Lanes>& im);
    // n real samples per lane, scaled by 1/n, from bins 0..n/2.
    void InverseReal(const Lanes* re, const Lanes* im, std::vector<Lanes>& signal);

private:
    void l_Complex(Lanes* re, Lanes* im); // in place, forward, unscaled (m_M points)

    int m_N;
    int m_M = 0;                             // n/2: the complex transform behind the real one
    std::vector<float> m_Cos, m_Sin;         // exp(-2 pi i j / m), j < m
    std::vector<float> m_HalfCos, m_HalfSin; // exp(-2 pi i k / n), k <= m
    std::vector<Lanes> m_Re, m_Im, m_WorkRe, m_WorkIm;

    // Other lengths: lane by lane.
    std::shared_ptr<CFastFourierTransform> m_Fallback;
    std::vector<float> m_Lane;
};
} // namespace KVL
