#pragma once

#include "model/CFluxList.h"

class CMeasureBlockMapping;

#include <Eigen/Core>

// Geometry of three-axis data: the dominant direction of the fluctuating
// field, and the rotation that takes a vector from the rotated probe frame
// back to the frame of the mapping.
namespace KVL
{
using KVL::Instrument::ZRQ5520Types::CFluxList;

bool ComputeAutoAlignedField(const CFluxList& bx, const CFluxList& by, const CFluxList& bz,
                             Eigen::Vector3f& direction, CFluxList& aligned);
// R = Rz(a) * Rx(b) * Ry(c), angles in degrees.
bool ComputeReverseTransformationMatrix(float a, float b, float c, Eigen::Matrix3f& matrix);
bool ComputeReverseTransformedVector(const Eigen::Vector3f& v, float a, float b, float c,
                                     Eigen::Vector3f& result);
// Turns every sample of a mapping block from the probe's frame into the mapping's, by
// the block's roll, pitch and yaw, once: a block marked as turned is left as it is.
void RotateIntoMappingFrame(CMeasureBlockMapping& block);
} // namespace KVL
