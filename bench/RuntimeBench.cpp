#include "platform/runtime/ClassBuilder.h"

#include <benchmark/benchmark.h>

#include <string>

// Message sends with a warm method cache: the cost every hooked system call pays.
// Target on the 2-core reference machine: a warm send under 10 ns.

namespace {

class BenchShape : public Object {
    TW_OBJECT(BenchShape)
public:
    long sides() const { return 4; }
    double area() { return 12.5; }
    static long shapeCount(long base) { return base + 1; }

protected:
    BenchShape() = default;
};

class BenchSquare : public BenchShape {
    TW_OBJECT(BenchSquare)
public:
    bool isRegular() { return true; }

protected:
    BenchSquare() = default;
};

Class BenchShape::classObject()
{
    static Class cls = ClassBuilder<BenchShape>("BenchShape", Object::classObject())
                           .method<&BenchShape::sides>("sides")
                           .method<&BenchShape::area>("area")
                           .classMethod<&BenchShape::shapeCount>("shapeCount:")
                           .build();
    return cls;
}

Class BenchSquare::classObject()
{
    static Class cls = ClassBuilder<BenchSquare>("BenchSquare", BenchShape::classObject())
                           .method<&BenchSquare::isRegular>("isRegular")
                           .build();
    return cls;
}

void warmSendOwnMethod(benchmark::State& state)
{
    auto square = make<BenchSquare>();
    for (auto _ : state)
        benchmark::DoNotOptimize(msgSend<bool>(square, SELECTOR("isRegular")));
}
BENCHMARK(warmSendOwnMethod);

void warmSendInheritedMethod(benchmark::State& state)
{
    auto square = make<BenchSquare>();
    for (auto _ : state)
        benchmark::DoNotOptimize(msgSend<long>(square, SELECTOR("sides")));
}
BENCHMARK(warmSendInheritedMethod);

void warmSendClassMethod(benchmark::State& state)
{
    Class cls = BenchSquare::classObject();
    for (auto _ : state)
        benchmark::DoNotOptimize(msgSendClass<long>(cls, SELECTOR("shapeCount:"), long(1)));
}
BENCHMARK(warmSendClassMethod);

// A class that has been asked about many selectors, like a view at the end of a layout pass.
void warmSendOnBusyClass(benchmark::State& state)
{
    auto square = make<BenchSquare>();
    for (int index = 0; index < state.range(0); ++index)
        benchmark::DoNotOptimize(square->respondsToSelector(sel_registerName(("benchAsked" + std::to_string(index)).c_str())));
    for (auto _ : state)
        benchmark::DoNotOptimize(msgSend<double>(square, SELECTOR("area")));
}
BENCHMARK(warmSendOnBusyClass)->Arg(16)->Arg(256);

void respondsToMissingSelector(benchmark::State& state)
{
    auto square = make<BenchSquare>();
    for (auto _ : state)
        benchmark::DoNotOptimize(square->respondsToSelector(SELECTOR("notImplemented")));
}
BENCHMARK(respondsToMissingSelector);

} // namespace

BENCHMARK_MAIN();
