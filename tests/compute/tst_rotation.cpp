#include "compute/FieldRotation.h"

#include <QTest>

#include <cmath>

using namespace KVL;

namespace
{
bool near(const Eigen::Vector3f& a, const Eigen::Vector3f& b, float tolerance = 1e-6f)
{
    return (a - b).cwiseAbs().maxCoeff() <= tolerance;
}
} // namespace

class tst_Rotation : public QObject
{
    Q_OBJECT

private slots:
    void autoAlignedExamples()
    {
        Eigen::Vector3f direction;
        CFluxList aligned;
        QVERIFY(ComputeAutoAlignedField({1, 3}, {2, 2}, {0, 0}, direction, aligned));
        QVERIFY(near(direction, Eigen::Vector3f(1, 0, 0)));
        QCOMPARE(aligned, CFluxList({1, 3}));

        QVERIFY(ComputeAutoAlignedField({1, -1}, {-2, 2}, {5, 5}, direction, aligned));
        QVERIFY(near(direction, Eigen::Vector3f(-1.0f / std::sqrt(5.0f), 2.0f / std::sqrt(5.0f), 0)));
        QCOMPARE(aligned.size(), std::size_t(2));
        QVERIFY(std::fabs(aligned[0] + std::sqrt(5.0f)) < 1e-5f);
        QVERIFY(std::fabs(aligned[1] - std::sqrt(5.0f)) < 1e-5f);

        // Equal amplitudes: x wins.
        QVERIFY(ComputeAutoAlignedField({1, -1}, {1, -1}, {0, 0}, direction, aligned));
        QVERIFY(direction.x() > 0 && std::fabs(direction.x() - direction.y()) < 1e-6f);

        QVERIFY(ComputeAutoAlignedField({2, 2}, {3, 3}, {4, 4}, direction, aligned));
        QVERIFY(near(direction, Eigen::Vector3f::Zero(), 0));
        QCOMPARE(aligned, CFluxList({0, 0}));

        QVERIFY(ComputeAutoAlignedField({}, {}, {}, direction, aligned));
        QVERIFY(aligned.empty());
        QVERIFY(!ComputeAutoAlignedField({1}, {1, 2}, {1}, direction, aligned));
        QVERIFY(aligned.empty());
    }

    void rotations()
    {
        Eigen::Matrix3f matrix;
        QVERIFY(ComputeReverseTransformationMatrix(0, 0, 0, matrix));
        QVERIFY(matrix.isApprox(Eigen::Matrix3f::Identity()));
        Eigen::Vector3f result;
        QVERIFY(ComputeReverseTransformedVector({1, 0, 0}, 90, 0, 0, result));
        QVERIFY(near(result, {0, 1, 0}));
        QVERIFY(ComputeReverseTransformedVector({0, 1, 0}, 0, 90, 0, result));
        QVERIFY(near(result, {0, 0, 1}));
        QVERIFY(ComputeReverseTransformedVector({1, 0, 0}, 0, 0, 90, result));
        QVERIFY(near(result, {0, 0, -1}));
    }

    void generalMatrixAgainstItsWrittenForm()
    {
        const double a = 30 * M_PI / 180, b = -45 * M_PI / 180, c = 60 * M_PI / 180;
        const double sa = std::sin(a), ca = std::cos(a), sb = std::sin(b), cb = std::cos(b), sc = std::sin(c),
                     cc = std::cos(c);
        const double expected[3][3] = {{ca * cc - sa * sb * sc, -sa * cb, ca * sc + sa * sb * cc},
                                       {sa * cc + ca * sb * sc, ca * cb, sa * sc - ca * sb * cc},
                                       {-cb * sc, sb, cb * cc}};
        Eigen::Matrix3f matrix;
        QVERIFY(ComputeReverseTransformationMatrix(30, -45, 60, matrix));
        for (int r = 0; r < 3; ++r)
            for (int col = 0; col < 3; ++col)
                QVERIFY(std::fabs(matrix(r, col) - expected[r][col]) < 1e-6);
        QVERIFY((matrix * matrix.transpose()).isApprox(Eigen::Matrix3f::Identity(), 1e-6f));
    }
};

QTEST_GUILESS_MAIN(tst_Rotation)
#include "tst_rotation.moc"
