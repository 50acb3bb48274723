#pragma once
// Inside of the recording fake: the call record each fake entry point fills, and the dispatcher that
// records it and computes the answer (scripted result, object behaviour or the default).

#include <cstdint>
#include <string>
#include <vector>

namespace rscfake {
namespace detail {

enum class Ret { Void, Int, Unsigned, Real, Pointer };

struct Arg
{
    enum Kind { Handle, Int, Real, Text, Pointer } kind = Int;
    const void *ptr = nullptr;
    int64_t i = 0;
    double d = 0;
    std::string s;
};

class Call
{
public:
    explicit Call(const char *name) : m_name(name) {}
    Call &handle(const void *h);
    Call &text(const char *s);
    Call &integer(int64_t v);
    Call &real(double v);
    Call &pointer(const void *p);
    Call &reals(const double *values, int64_t count);
    Call &integers(const int32_t *values, int64_t count);
    Call &unsigneds(const uint32_t *values, int64_t count);
    Call &bytes(const void *data, int64_t size);
    Call &packet(const void *packet);

    const std::string &name() const { return m_name; }
    const std::vector<Arg> &args() const { return m_args; }
    std::string text() const;

private:
    Call &add(Arg arg, std::string shown);
    std::string m_name;
    std::vector<Arg> m_args;
    std::vector<std::string> m_shown;
};

struct Answer
{
    int64_t i = 0;
    double d = 0;
    void *p = nullptr;
};

// Records the call and answers it.
Answer run(const Call &call, Ret ret);

} // namespace detail
} // namespace rscfake
