#include "compute/CFastFourierTransform.h"

#include "compute/RecentTransforms.h"

#include <cmath>
#include <utility>

namespace KVL
{
namespace
{
// Eigen's butterflies are specialised up to 5; a generic one costs p per
// element, which stays cheap for small primes.
constexpr int SmoothPrimeLimit = 13;

bool isPrime(int n)
{
    if (n < 2)
        return false;
    for (int d = 2; d * d <= n; ++d)
    {
        if (n % d == 0)
            return false;
    }
    return true;
}

long long powerModulo(long long base, long long exponent, long long modulus)
{
    long long result = 1;
    base %= modulus;
    while (exponent > 0)
    {
        if (exponent & 1)
            result = result * base % modulus;
        base = base * base % modulus;
        exponent >>= 1;
    }
    return result;
}

// Smallest generator of the multiplicative group modulo the prime p.
int primitiveRoot(int p)
{
    std::vector<int> factors;
    int rest = p - 1;
    for (int d = 2; d * d <= rest; ++d)
    {
        if (rest % d == 0)
        {
            factors.push_back(d);
            while (rest % d == 0)
                rest /= d;
        }
    }
    if (rest > 1)
        factors.push_back(rest);
    for (int g = 2; g < p; ++g)
    {
        bool generator = true;
        for (const int f : factors)
        {
            if (powerModulo(g, (p - 1) / f, p) == 1)
            {
                generator = false;
                break;
            }
        }
        if (generator)
            return g;
    }
    return 1;
}

std::complex<double> unitRoot(long long numerator, long long denominator)
{
    // exp(-2 pi i numerator / denominator), with the angle reduced exactly first.
    const double angle = -2.0 * M_PI * double(numerator % denominator) / double(denominator);
    return {std::cos(angle), std::sin(angle)};
}
} // namespace

int CFastFourierTransform::LargestPrimeFactor(int n)
{
    int largest = 1;
    for (int d = 2; d * d <= n; ++d)
    {
        while (n % d == 0)
        {
            largest = d;
            n /= d;
        }
    }
    return n > 1 ? std::max(largest, n) : largest;
}

CFastFourierTransform::CFastFourierTransform(int n) : m_N(n)
{
    m_Fft.SetFlag(Eigen::FFT<float>::Unscaled);
    if (n < 2 || LargestPrimeFactor(n) <= SmoothPrimeLimit)
    {
        m_Method = Method::Direct;
        return;
    }

    if (isPrime(n) && LargestPrimeFactor(n - 1) <= SmoothPrimeLimit)
    {
        m_Method = Method::Rader;
        const int length = n - 1;
        const int g = primitiveRoot(n);
        const int gInverse = int(powerModulo(g, n - 2, n));
        m_InputIndex.resize(std::size_t(length));
        m_OutputIndex.resize(std::size_t(length));
        std::vector<Complex> kernel(static_cast<std::size_t>(length));
        long long forward = 1;
        long long backward = 1;
        for (int q = 0; q < length; ++q)
        {
            m_InputIndex[std::size_t(q)] = int(forward);
            m_OutputIndex[std::size_t(q)] = int(backward);
            const std::complex<double> w = unitRoot(backward, n) / double(length);
            kernel[std::size_t(q)] = Complex(float(w.real()), float(w.imag()));
            forward = forward * g % n;
            backward = backward * gInverse % n;
        }
        m_Kernel.resize(std::size_t(length));
        m_Fft.fwd(m_Kernel.data(), kernel.data(), length);
        m_WorkA.resize(std::size_t(length));
        m_WorkB.resize(std::size_t(length));
        m_RealWork.resize(std::size_t(length));
        return;
    }

    m_Method = Method::Bluestein;
    m_M = 1;
    while (m_M < 2 * n - 1)
        m_M <<= 1;
    m_Chirp.resize(std::size_t(n));
    std::vector<Complex> padded(std::size_t(m_M), Complex(0, 0));
    for (int k = 0; k < n; ++k)
    {
        // exp(-i pi k^2 / n) = exp(-2 pi i (k^2 mod 2n) / 2n)
        const long long square = (long long)k * k % (2LL * n);
        const std::complex<double> w = unitRoot(square, 2LL * n);
        m_Chirp[std::size_t(k)] = Complex(float(w.real()), float(w.imag()));
        const Complex conjugate = Complex(float(w.real() / m_M), float(-w.imag() / m_M));
        padded[std::size_t(k)] = conjugate;
        if (k > 0)
            padded[std::size_t(m_M - k)] = conjugate;
    }
    m_ChirpSpectrum.resize(std::size_t(m_M));
    m_Fft.fwd(m_ChirpSpectrum.data(), padded.data(), m_M);
    m_WorkA.resize(std::size_t(m_M));
    m_WorkB.resize(std::size_t(m_M));
}

std::shared_ptr<CFastFourierTransform> CFastFourierTransform::ForSize(int n)
{
    return RecentTransform<CFastFourierTransform, 6>(n);
}

void CFastFourierTransform::l_RaderConvolve(Complex first, Complex* output)
{
    // m_WorkB holds the transform of the permuted input; convolve with the kernel.
    const int length = m_N - 1;
    for (int q = 0; q < length; ++q)
        m_WorkB[std::size_t(q)] *= m_Kernel[std::size_t(q)];
    m_Fft.inv(m_WorkA.data(), m_WorkB.data(), length);
    for (int q = 0; q < length; ++q)
        output[m_OutputIndex[std::size_t(q)]] = first + m_WorkA[std::size_t(q)];
}

void CFastFourierTransform::l_Rader(const Complex* input, Complex* output)
{
    const int length = m_N - 1;
    Complex sum = input[0];
    for (int q = 0; q < length; ++q)
    {
        const Complex value = input[m_InputIndex[std::size_t(q)]];
        sum += value;
        m_WorkA[std::size_t(q)] = value;
    }
    m_Fft.fwd(m_WorkB.data(), m_WorkA.data(), length);
    l_RaderConvolve(input[0], output);
    output[0] = sum;
}

void CFastFourierTransform::l_RaderReal(const float* input, Complex* output)
{
    // The permuted input is real: Eigen's real transform does half the work.
    const int length = m_N - 1;
    double sum = input[0];
    for (int q = 0; q < length; ++q)
    {
        const float value = input[m_InputIndex[std::size_t(q)]];
        sum += value;
        m_RealWork[std::size_t(q)] = value;
    }
    m_Fft.ClearFlag(Eigen::FFT<float>::HalfSpectrum);
    m_Fft.fwd(m_WorkB.data(), m_RealWork.data(), length);
    l_RaderConvolve(Complex(input[0], 0.0f), output);
    output[0] = Complex(float(sum), 0.0f);
}

void CFastFourierTransform::l_Bluestein(const Complex* input, Complex* output)
{
    std::fill(m_WorkA.begin(), m_WorkA.end(), Complex(0, 0));
    for (int k = 0; k < m_N; ++k)
        m_WorkA[std::size_t(k)] = input[k] * m_Chirp[std::size_t(k)];
    m_Fft.fwd(m_WorkB.data(), m_WorkA.data(), m_M);
    for (int k = 0; k < m_M; ++k)
        m_WorkB[std::size_t(k)] *= m_ChirpSpectrum[std::size_t(k)];
    m_Fft.inv(m_WorkA.data(), m_WorkB.data(), m_M);
    for (int k = 0; k < m_N; ++k)
        output[k] = m_WorkA[std::size_t(k)] * m_Chirp[std::size_t(k)];
}

void CFastFourierTransform::l_ForwardComplex(const Complex* input, Complex* output)
{
    switch (m_Method)
    {
    case Method::Direct:
        m_Fft.fwd(output, input, m_N);
        break;
    case Method::Rader:
        l_Rader(input, output);
        break;
    case Method::Bluestein:
        l_Bluestein(input, output);
        break;
    }
}

void CFastFourierTransform::ForwardReal(const float* signal, std::vector<Complex>& spectrum)
{
    spectrum.resize(std::size_t(m_N));
    if (m_Method == Method::Direct)
    {
        m_Fft.ClearFlag(Eigen::FFT<float>::HalfSpectrum);
        m_Fft.fwd(spectrum.data(), signal, m_N);
        return;
    }
    if (m_Method == Method::Rader)
    {
        l_RaderReal(signal, spectrum.data());
        return;
    }
    std::vector<Complex> input(signal, signal + m_N);
    l_ForwardComplex(input.data(), spectrum.data());
}

void CFastFourierTransform::ForwardRealHalf(const float* signal, std::vector<Complex>& half)
{
    if (m_Method == Method::Direct)
    {
        half.resize(std::size_t(m_N / 2 + 1));
        m_Fft.SetFlag(Eigen::FFT<float>::HalfSpectrum);
        // Eigen writes a full-length scratch only for lengths that are not multiples of 4.
        m_HalfScratch.resize(std::size_t(m_N));
        m_Fft.fwd(m_HalfScratch.data(), signal, m_N);
        m_Fft.ClearFlag(Eigen::FFT<float>::HalfSpectrum);
        std::copy(m_HalfScratch.begin(), m_HalfScratch.begin() + (m_N / 2 + 1), half.begin());
        return;
    }
    ForwardReal(signal, m_HalfScratch);
    half.assign(m_HalfScratch.begin(), m_HalfScratch.begin() + (m_N / 2 + 1));
}

void CFastFourierTransform::InverseRealHalf(const Complex* half, std::vector<float>& signal)
{
    signal.resize(std::size_t(m_N));
    const float scale = 1.0f / float(m_N);
    if (m_Method == Method::Direct)
    {
        m_Fft.inv(signal.data(), half, m_N);
        for (float& value : signal)
            value *= scale;
        return;
    }
    // Inverse through the forward transform: x = conj(F(conj(X))) / n, real part.
    std::vector<Complex> full(static_cast<std::size_t>(m_N));
    const int upper = m_N / 2;
    for (int k = 0; k <= upper; ++k)
        full[std::size_t(k)] = std::conj(half[k]);
    for (int k = 1; k <= upper; ++k)
    {
        if (m_N - k > upper)
            full[std::size_t(m_N - k)] = half[k];
    }
    if (m_N % 2 == 0)
        full[std::size_t(upper)] = Complex(half[upper].real(), 0.0f);
    std::vector<Complex> output(static_cast<std::size_t>(m_N));
    l_ForwardComplex(full.data(), output.data());
    for (int k = 0; k < m_N; ++k)
        signal[std::size_t(k)] = output[std::size_t(k)].real() * scale;
}
} // namespace KVL
