// Normalize, Dot and Length through the module's exports, beside Eigen and
// glm on the same vectors. Every variant reads one array and writes another,
// so that each pass starts from the same sample.
#include "VectorSample.h"

#include <HPS/Vector_3D.h>

#include <Eigen/Core>
#include <benchmark/benchmark.h>
#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <new>
#include <vector>

namespace {

constexpr std::size_t vectorCount = 1'000'000;

// Made through the module's constructor, outside the timing.
std::vector<HPS::Vector_3D<float>> hpsVectors() {
  std::vector<HPS::Vector_3D<float>> vectors;
  vectors.reserve(vectorCount);
  for (const bench::Components& c : bench::vectorSample(vectorCount)) vectors.emplace_back(c.x, c.y, c.z);
  return vectors;
}

std::vector<Eigen::Vector3f> eigenVectors() {
  std::vector<Eigen::Vector3f> vectors;
  vectors.reserve(vectorCount);
  for (const bench::Components& c : bench::vectorSample(vectorCount)) vectors.emplace_back(c.x, c.y, c.z);
  return vectors;
}

std::vector<glm::vec3> glmVectors() {
  std::vector<glm::vec3> vectors;
  vectors.reserve(vectorCount);
  for (const bench::Components& c : bench::vectorSample(vectorCount)) vectors.emplace_back(c.x, c.y, c.z);
  return vectors;
}

// Each vector's partner for Dot: the sample shifted by one.
template <typename Vector>
std::vector<Vector> partners(const std::vector<Vector>& vectors) {
  std::vector<Vector> shifted(vectors.begin() + 1, vectors.end());
  shifted.push_back(vectors.front());
  return shifted;
}

// Runs body(i) for every vector; out is where its results go, which the
// compiler must take as read afterwards.
template <typename Output, typename Body>
void forEachVector(benchmark::State& state, Output& out, Body body) {
  benchmark::DoNotOptimize(out.data());
  for (auto _ : state) {
    for (std::size_t i = 0; i < vectorCount; ++i) body(i);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(vectorCount));
}

void normalizeHps(benchmark::State& state, bool prescale) {
  const auto in = hpsVectors();
  auto out = in;
  forEachVector(state, out, [&](std::size_t i) {
    // A copy construction, which is inline: assignment is one of the
    // module's operations and would be timed too.
    (::new (static_cast<void*>(&out[i])) HPS::Vector_3D<float>(in[i]))->Normalize(prescale, 0.0f);
  });
}

void normalizeEigen(benchmark::State& state) {
  const auto in = eigenVectors();
  auto out = in;
  forEachVector(state, out, [&](std::size_t i) {
    out[i] = in[i];
    out[i].normalize();
  });
}

void stableNormalizeEigen(benchmark::State& state) {
  const auto in = eigenVectors();
  auto out = in;
  forEachVector(state, out, [&](std::size_t i) {
    out[i] = in[i];
    out[i].stableNormalize();
  });
}

void normalizeGlm(benchmark::State& state) {
  const auto in = glmVectors();
  auto out = in;
  forEachVector(state, out, [&](std::size_t i) { out[i] = glm::normalize(in[i]); });
}

void dotHps(benchmark::State& state) {
  const auto in = hpsVectors();
  const auto other = partners(in);
  std::vector<float> out(vectorCount);
  forEachVector(state, out, [&](std::size_t i) { out[i] = in[i].Dot(other[i]); });
}

void dotEigen(benchmark::State& state) {
  const auto in = eigenVectors();
  const auto other = partners(in);
  std::vector<float> out(vectorCount);
  forEachVector(state, out, [&](std::size_t i) { out[i] = in[i].dot(other[i]); });
}

void dotGlm(benchmark::State& state) {
  const auto in = glmVectors();
  const auto other = partners(in);
  std::vector<float> out(vectorCount);
  forEachVector(state, out, [&](std::size_t i) { out[i] = glm::dot(in[i], other[i]); });
}

// Length answers in double, the others in float: each is timed as it is.
void lengthHps(benchmark::State& state) {
  const auto in = hpsVectors();
  std::vector<double> out(vectorCount);
  forEachVector(state, out, [&](std::size_t i) { out[i] = in[i].Length(); });
}

void lengthEigen(benchmark::State& state) {
  const auto in = eigenVectors();
  std::vector<float> out(vectorCount);
  forEachVector(state, out, [&](std::size_t i) { out[i] = in[i].norm(); });
}

void lengthGlm(benchmark::State& state) {
  const auto in = glmVectors();
  std::vector<float> out(vectorCount);
  forEachVector(state, out, [&](std::size_t i) { out[i] = glm::length(in[i]); });
}

}  // namespace

BENCHMARK_CAPTURE(normalizeHps, plain, false)->Name("Normalize/hps")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(normalizeHps, prescale, true)->Name("Normalize/hps_prescale")->Unit(benchmark::kMillisecond);
BENCHMARK(normalizeEigen)->Name("Normalize/eigen_normalize")->Unit(benchmark::kMillisecond);
BENCHMARK(stableNormalizeEigen)->Name("Normalize/eigen_stableNormalize")->Unit(benchmark::kMillisecond);
BENCHMARK(normalizeGlm)->Name("Normalize/glm_normalize")->Unit(benchmark::kMillisecond);
BENCHMARK(dotHps)->Name("Dot/hps")->Unit(benchmark::kMillisecond);
BENCHMARK(dotEigen)->Name("Dot/eigen")->Unit(benchmark::kMillisecond);
BENCHMARK(dotGlm)->Name("Dot/glm")->Unit(benchmark::kMillisecond);
BENCHMARK(lengthHps)->Name("Length/hps")->Unit(benchmark::kMillisecond);
BENCHMARK(lengthEigen)->Name("Length/eigen_norm")->Unit(benchmark::kMillisecond);
BENCHMARK(lengthGlm)->Name("Length/glm_length")->Unit(benchmark::kMillisecond);
