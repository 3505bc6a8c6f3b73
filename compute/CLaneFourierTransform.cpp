#include "compute/CLaneFourierTransform.h"

#include "compute/CFastFourierTransform.h"
#include "compute/RecentTransforms.h"

#include <cmath>
#include <complex>

namespace KVL
{
namespace
{
using Lanes = CLaneFourierTransform::Lanes;

constexpr double Pi = 3.14159265358979323846;

Lanes splat(float value)
{
    return Lanes{value, value, value, value};
}

bool powerOfTwo(int n)
{
    return n >= 4 && (n & (n - 1)) == 0;
}
} // namespace

CLaneFourierTransform::CLaneFourierTransform(int n) : m_N(n)
{
    if (!powerOfTwo(n))
    {
        m_Fallback = CFastFourierTransform::ForSize(n);
        return;
    }
    m_M = n / 2;
    m_Cos.resize(std::size_t(m_M));
    m_Sin.resize(std::size_t(m_M));
    for (int j = 0; j < m_M; ++j)
    {
        m_Cos[std::size_t(j)] = float(std::cos(2 * Pi * j / m_M));
        m_Sin[std::size_t(j)] = float(-std::sin(2 * Pi * j / m_M));
    }
    m_HalfCos.resize(std::size_t(m_M) + 1);
    m_HalfSin.resize(std::size_t(m_M) + 1);
    for (int k = 0; k <= m_M; ++k)
    {
        m_HalfCos[std::size_t(k)] = float(std::cos(2 * Pi * k / n));
        m_HalfSin[std::size_t(k)] = float(-std::sin(2 * Pi * k / n));
    }
    m_Re.resize(std::size_t(m_M));
    m_Im.resize(std::size_t(m_M));
    m_WorkRe.resize(std::size_t(m_M));
    m_WorkIm.resize(std::size_t(m_M));
}

CLaneFourierTransform::~CLaneFourierTransform() = default;

std::shared_ptr<CLaneFourierTransform> CLaneFourierTransform::ForSize(int n)
{
    return RecentTransform<CLaneFourierTransform, 4>(n);
}

// Stockham's self-sorting transform: radix-4 passes between two buffers, one
// radix-2 pass last when the length is an odd power of two; natural order out.
void CLaneFourierTransform::l_Complex(Lanes* re, Lanes* im)
{
    Lanes* xr = re;
    Lanes* xi = im;
    Lanes* yr = m_WorkRe.data();
    Lanes* yi = m_WorkIm.data();
    int length = m_M;
    int s = 1;
    while (length >= 4)
    {
        const int m = length / 4;
        for (int p = 0; p < m; ++p)
        {
            const std::size_t j = std::size_t(p) * std::size_t(s);
            const Lanes w1r = splat(m_Cos[j]), w1i = splat(m_Sin[j]);
            const Lanes w2r = splat(m_Cos[2 * j]), w2i = splat(m_Sin[2 * j]);
            const Lanes w3r = splat(m_Cos[3 * j]), w3i = splat(m_Sin[3 * j]);
            const Lanes* ar = xr + s * p;
            const Lanes* ai = xi + s * p;
            const std::size_t quarter = std::size_t(s) * std::size_t(m);
            Lanes* outR = yr + 4 * s * p;
            Lanes* outI = yi + 4 * s * p;
            for (int q = 0; q < s; ++q)
            {
                const Lanes aR = ar[q], aI = ai[q];
                const Lanes bR = ar[q + quarter], bI = ai[q + quarter];
                const Lanes cR = ar[q + 2 * quarter], cI = ai[q + 2 * quarter];
                const Lanes dR = ar[q + 3 * quarter], dI = ai[q + 3 * quarter];
                const Lanes apcR = aR + cR, apcI = aI + cI;
                const Lanes amcR = aR - cR, amcI = aI - cI;
                const Lanes bpdR = bR + dR, bpdI = bI + dI;
                // -i (b - d)
                const Lanes jR = bI - dI, jI = dR - bR;
                outR[q] = apcR + bpdR;
                outI[q] = apcI + bpdI;
                const Lanes t1R = amcR + jR, t1I = amcI + jI;
                outR[q + s] = w1r * t1R - w1i * t1I;
                outI[q + s] = w1r * t1I + w1i * t1R;
                const Lanes t2R = apcR - bpdR, t2I = apcI - bpdI;
                outR[q + 2 * s] = w2r * t2R - w2i * t2I;
                outI[q + 2 * s] = w2r * t2I + w2i * t2R;
                const Lanes t3R = amcR - jR, t3I = amcI - jI;
                outR[q + 3 * s] = w3r * t3R - w3i * t3I;
                outI[q + 3 * s] = w3r * t3I + w3i * t3R;
            }
        }
        std::swap(xr, yr);
        std::swap(xi, yi);
        length /= 4;
        s *= 4;
    }
    if (length == 2)
    {
        for (int q = 0; q < s; ++q)
        {
            const Lanes aR = xr[q], aI = xi[q], bR = xr[q + s], bI = xi[q + s];
            yr[q] = aR + bR;
            yi[q] = aI + bI;
            yr[q + s] = aR - bR;
            yi[q + s] = aI - bI;
        }
        std::swap(xr, yr);
        std::swap(xi, yi);
    }
    if (xr != re)
    {
        std::copy(xr, xr + m_M, re);
        std::copy(xi, xi + m_M, im);
    }
}

void CLaneFourierTransform::ForwardReal(const Lanes* signal, std::vector<Lanes>& re, std::vector<Lanes>& im)
{
    const std::size_t bins = std::size_t(m_N / 2 + 1);
    re.resize(bins);
    im.resize(bins);
    if (m_Fallback)
    {
        std::vector<std::complex<float>> half;
        m_Lane.resize(std::size_t(m_N));
        for (int lane = 0; lane < 4; ++lane)
        {
            bool zero = true;
            for (std::size_t i = 0; i < m_Lane.size(); ++i)
                zero = (m_Lane[i] = signal[i][lane]) == 0.0f && zero;
            if (zero) // a spare lane
            {
                for (std::size_t k = 0; k < bins; ++k)
                    re[k][lane] = im[k][lane] = 0.0f;
                continue;
            }
            m_Fallback->ForwardRealHalf(m_Lane.data(), half);
            for (std::size_t k = 0; k < bins; ++k)
            {
                re[k][lane] = half[k].real();
                im[k][lane] = half[k].imag();
            }
        }
        return;
    }
    // Even samples as the real part, odd ones as the imaginary part of half as many.
    for (int j = 0; j < m_M; ++j)
    {
        m_Re[std::size_t(j)] = signal[2 * j];
        m_Im[std::size_t(j)] = signal[2 * j + 1];
    }
    l_Complex(m_Re.data(), m_Im.data());
    const Lanes half = splat(0.5f);
    for (int k = 0; k <= m_M; ++k)
    {
        const std::size_t a = std::size_t(k % m_M), b = std::size_t((m_M - k) % m_M);
        const Lanes zr = m_Re[a], zi = m_Im[a], cr = m_Re[b], ci = m_Im[b];
        // The transforms of the even (e) and the odd (o) samples.
        const Lanes er = half * (zr + cr), ei = half * (zi - ci);
        const Lanes or_ = half * (zi + ci), oi = half * (cr - zr);
        const Lanes wr = splat(m_HalfCos[std::size_t(k)]), wi = splat(m_HalfSin[std::size_t(k)]);
        re[std::size_t(k)] = er + wr * or_ - wi * oi;
        im[std::size_t(k)] = ei + wr * oi + wi * or_;
    }
}

void CLaneFourierTransform::InverseReal(const Lanes* re, const Lanes* im, std::vector<Lanes>& signal)
{
    signal.resize(std::size_t(m_N));
    if (m_Fallback)
    {
        const std::size_t bins = std::size_t(m_N / 2 + 1);
        std::vector<std::complex<float>> half(bins);
        std::vector<float> out;
        for (int lane = 0; lane < 4; ++lane)
        {
            bool zero = true;
            for (std::size_t k = 0; k < bins; ++k)
            {
                half[k] = {re[k][lane], im[k][lane]};
                zero = zero && half[k] == std::complex<float>();
            }
            if (zero) // a spare lane
            {
                for (int i = 0; i < m_N; ++i)
                    signal[std::size_t(i)][lane] = 0.0f;
                continue;
            }
            m_Fallback->InverseRealHalf(half.data(), out);
            for (std::size_t i = 0; i < out.size(); ++i)
                signal[i][lane] = out[i];
        }
        return;
    }
    const Lanes half = splat(0.5f);
    for (int k = 0; k < m_M; ++k)
    {
        const std::size_t a = std::size_t(k), b = std::size_t(m_M - k);
        const Lanes xr = re[a], xi = im[a], cr = re[b], ci = -im[b];
        const Lanes er = half * (xr + cr), ei = half * (xi + ci);
        const Lanes dr = half * (xr - cr), di = half * (xi - ci);
        // o = d / w, and |w| = 1.
        const Lanes wr = splat(m_HalfCos[a]), wi = splat(m_HalfSin[a]);
        const Lanes or_ = dr * wr + di * wi, oi = di * wr - dr * wi;
        // z = e + i o, put in with real and imaginary parts swapped: the forward
        // transform of the swapped is the swapped inverse transform.
        m_Re[a] = ei + or_;
        m_Im[a] = er - oi;
    }
    l_Complex(m_Re.data(), m_Im.data());
    const Lanes scale = splat(1.0f / float(m_M));
    for (int j = 0; j < m_M; ++j)
    {
        signal[std::size_t(2 * j)] = scale * m_Im[std::size_t(j)];
        signal[std::size_t(2 * j + 1)] = scale * m_Re[std::size_t(j)];
    }
}
} // namespace KVL
