#pragma once

#include <unsupported/Eigen/FFT>

#include <complex>
#include <memory>
#include <vector>

namespace KVL
{
// Unscaled discrete Fourier transform of one length n >= 2 in O(n log n) for
// every n. Lengths whose prime factors are all small go straight to Eigen's
// FFT; for others Eigen falls back to O(n*p) butterflies, so a prime length
// whose predecessor is smooth goes through Rader's algorithm and any other
// length through Bluestein's, both on convolutions that Eigen transforms fast.
class CFastFourierTransform
{
public:
    using Complex = std::complex<float>;

    enum class Method
    {
        Direct,
        Rader,
        Bluestein
    };

    explicit CFastFourierTransform(int n);

    // A transform of size n kept for this thread; building one computes twiddle
    // factors and chirps, which blocks of one size can share.
    static std::shared_ptr<CFastFourierTransform> ForSize(int n);

    int Size() const { return m_N; }
    Method GetMethod() const { return m_Method; }

    // Bins 0..n/2 of the transform of a real signal of n samples.
    void ForwardRealHalf(const float* signal, std::vector<Complex>& half);
    // All n bins of the transform of a real signal.
    void ForwardReal(const float* signal, std::vector<Complex>& spectrum);
    // n real samples, scaled by 1/n, from bins 0..n/2 (the upper half is taken
    // as the conjugate mirror of the lower one).
    void InverseRealHalf(const Complex* half, std::vector<float>& signal);

    static int LargestPrimeFactor(int n);

private:
    void l_ForwardComplex(const Complex* input, Complex* output);
    void l_Rader(const Complex* input, Complex* output);
    void l_RaderReal(const float* input, Complex* output);
    void l_RaderConvolve(Complex first, Complex* output);
    void l_Bluestein(const Complex* input, Complex* output);

    int m_N;
    Method m_Method = Method::Direct;
    Eigen::FFT<float> m_Fft; // length n (direct), n - 1 (Rader) or the power of two m (Bluestein)

    // Rader: input index g^q, output index g^-q, and the transform of the
    // kernel w^(g^-q), already divided by n - 1.
    std::vector<int> m_InputIndex;
    std::vector<int> m_OutputIndex;
    std::vector<Complex> m_Kernel;

    // Bluestein: chirp exp(-i pi k^2 / n) and the transform of its padded conjugate, divided by m.
    int m_M = 0;
    std::vector<Complex> m_Chirp;
    std::vector<Complex> m_ChirpSpectrum;

    std::vector<Complex> m_WorkA;
    std::vector<Complex> m_WorkB;
    std::vector<float> m_RealWork;
    std::vector<Complex> m_HalfScratch; // kept between calls: no allocation per block
};
} // namespace KVL
