#include "compute/FieldRotation.h"

#include "compute/ComputationError.h"
#include "model/CMeasureBlockMapping.h"

#include <cmath>

namespace KVL
{
bool ComputeAutoAlignedField(const CFluxList& bx, const CFluxList& by, const CFluxList& bz,
                             Eigen::Vector3f& direction, CFluxList& aligned)
{
    direction = Eigen::Vector3f::Zero();
    aligned.clear();
    return RunComputation([&] {
        if (bx.size() != by.size() || bx.size() != bz.size())
            throw FluxException("Field-component vectors are not of equal length", "ComputeAutoAlignedField");
        const std::size_t n = bx.size();
        if (n == 0)
            return true;

        const auto mean = [n](const CFluxList& series) {
            float sum = 0.0f;
            for (const float value : series)
                sum += value;
            return sum / float(n);
        };
        const float mx = mean(bx);
        const float my = mean(by);
        const float mz = mean(bz);

        std::vector<float> dx(n), dy(n), dz(n);
        float sx = 0.0f, sy = 0.0f, sz = 0.0f;
        for (std::size_t i = 0; i < n; ++i)
        {
            dx[i] = bx[i] - mx;
            dy[i] = by[i] - my;
            dz[i] = bz[i] - mz;
            sx = std::fma(dx[i], dx[i], sx);
            sy = std::fma(dy[i], dy[i], sy);
            sz = std::fma(dz[i], dz[i], sz);
        }
        float amplitude[3] = {std::sqrt(sx), std::sqrt(sy), std::sqrt(sz)};
        const std::vector<float>* centred[3] = {&dx, &dy, &dz};

        int dominant = 2;
        if (amplitude[0] >= amplitude[1] && amplitude[0] >= amplitude[2])
            dominant = 0;
        else if (amplitude[1] >= amplitude[0] && amplitude[1] >= amplitude[2])
            dominant = 1;

        for (int axis = 0; axis < 3; ++axis)
        {
            if (axis == dominant)
                continue;
            double correlation = 0.0;
            for (std::size_t i = 0; i < n; ++i)
                correlation += double((*centred[dominant])[i] * (*centred[axis])[i]);
            if (correlation < 0.0)
                amplitude[axis] = -amplitude[axis];
        }

        const Eigen::Vector3f raw(amplitude[0], amplitude[1], amplitude[2]);
        const float squaredLength = raw.squaredNorm();
        if (squaredLength > 0.0f)
            direction = raw / std::sqrt(squaredLength);

        aligned.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            aligned.push_back((bx[i] * direction.x() + by[i] * direction.y()) + bz[i] * direction.z());
        return true;
    });
}

bool ComputeReverseTransformationMatrix(float a, float b, float c, Eigen::Matrix3f& matrix)
{
    const float toRadians = 0.017453292f;
    const float sa = std::sin(a * toRadians), ca = std::cos(a * toRadians);
    const float sb = std::sin(b * toRadians), cb = std::cos(b * toRadians);
    const float sc = std::sin(c * toRadians), cc = std::cos(c * toRadians);
    Eigen::Matrix3f rz, rx, ry;
    rz << ca, -sa, 0.0f, sa, ca, 0.0f, 0.0f, 0.0f, 1.0f;
    rx << 1.0f, 0.0f, 0.0f, 0.0f, cb, -sb, 0.0f, sb, cb;
    ry << cc, 0.0f, sc, 0.0f, 1.0f, 0.0f, -sc, 0.0f, cc;
    const Eigen::Matrix3f zx = rz * rx;
    matrix = zx * ry;
    return true;
}

bool ComputeReverseTransformedVector(const Eigen::Vector3f& v, float a, float b, float c,
                                     Eigen::Vector3f& result)
{
    Eigen::Matrix3f matrix;
    const bool built = ComputeReverseTransformationMatrix(a, b, c, matrix);
    result = matrix * v;
    return built;
}
} // namespace KVL

void KVL::RotateIntoMappingFrame(CMeasureBlockMapping& block)
{
    if (block.RotAppliedOnMeasBlock())
        return;
    Eigen::Matrix3f rotation;
    if (ComputeReverseTransformationMatrix(float(block.Orientation.Roll()), float(block.Orientation.Pitch()),
                                           float(block.Orientation.Yaw()), rotation))
    {
        for (const QSharedPointer<CFieldIntensityResult>& sample : qAsConst(block.Results))
        {
            const Eigen::Vector3f turned =
                rotation * Eigen::Vector3f(sample->Bx(), sample->By(), sample->Bz());
            sample->setBx(turned.x());
            sample->setBy(turned.y());
            sample->setBz(turned.z());
        }
    }
    block.setRotAppliedOnMeasBlock(true);
}
