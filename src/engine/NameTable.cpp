#include "engine/NameTable.h"

namespace mirla {

const std::array<NameEntry, NameTableSize>& NameTable() {
    static constexpr std::array<NameEntry, NameTableSize> Table = {{
        {"min(", 0, 3},      {"sin(", 1, 1},      {"arcsin(", 2, 1},   {"arccos(", 3, 1},
        {"arctan(", 4, 1},   {"arcsinh(", 5, 1},  {"arccosh(", 6, 1},  {"arctanh(", 7, 1},
        {"sinh(", 8, 1},     {"cosh(", 9, 1},     {"tanh(", 10, 1},    {"random", 11, 0},
        {"cos(", 12, 1},     {"tan(", 13, 1},     {"exp(", 14, 1},     {"sqrt(", 15, 1},
        {"ln(", 16, 1},      {"log(", 17, 1},     {"Jn(", 18, 2},      {"Yn(", 19, 2},
        {"In(", 20, 2},      {"Kn(", 21, 2},      {"solve(", 22, 3},   {"Ci(", 23, 1},
        {"Si(", 24, 1},      {"erf(", 25, 1},     {"gamma(", 26, 1},   {"integral(", 27, 3},
        {"\xB6", 28, 0},     {"pi", 29, 0},       {"e", 30, 0},        {"n!(", 31, 1},
        {"eFD(", 32, 2},     {"abs(", 33, 1},     {"round(", 34, 1},   {"frac(", 35, 1},
        {"trunc(", 36, 1},   {"max(", 37, 3},     {"mean(", 38, 1},    {"std(", 39, 1},
        {"sqr(", 40, 1},     {"sum(", 41, 1},     {"gauss(", 42, 2},   {"poly(", 43, 1},
        {"stat(", 44, 2},    {"ft_m(", 45, 1},    {"m_ft(", 46, 1},    {"ml_km(", 47, 1},
        {"km_ml(", 48, 1},   {"lb_g(", 49, 1},    {"g_lb(", 50, 1},    {"pt_l(", 51, 1},
        {"l_pt(", 52, 1},    {"gl_l(", 53, 1},    {"l_gl(", 54, 1},    {"yd_m(", 55, 1},
        {"m_yd(", 56, 1},    {"in_m(", 57, 1},    {"m_in(", 58, 1},    {"oc_g(", 59, 1},
        {"g_oc(", 60, 1},    {"br_l(", 61, 1},    {"br_oc(", 62, 1},   {"usgl_cm(", 63, 1},
        {"cm_usgl(", 64, 1}, {"bigl_cm(", 65, 1}, {"cm_bigl(", 66, 1}, {"x", 67, 0},
        {"y", 68, 0},        {"z", 69, 0},        {"v", 70, 0},        {"w", 71, 0},
        {"i", 72, 0},        {"j", 73, 0},        {"k", 74, 0},        {"m", 75, 0},
        {"n", 76, 0},        {"X", 77, 0},        {"Y", 78, 0},        {"Z", 79, 0},
        {"V", 80, 0},        {"W", 81, 0},        {"I", 82, 0},        {"J", 83, 0},
        {"K", 84, 0},        {"M", 85, 0},        {"N", 86, 0},        {"10^(", 87, 1},
    }};
    return Table;
}

TNameIndex::TNameIndex(const std::array<NameEntry, NameTableSize>& table) {
    for (const NameEntry& entry : table) {
        std::size_t slot = Hash(entry.name);
        while (m_slots[slot])
            slot = (slot + 1) % SlotCount;
        m_slots[slot] = &entry;
    }
}

namespace {

/// Names are a few characters long; comparing them here costs less than a library call.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace

const NameEntry* TNameIndex::Find(std::string_view name) const {
    for (std::size_t slot = Hash(name); m_slots[slot]; slot = (slot + 1) % SlotCount) {
        if (SameName(m_slots[slot]->name, name))
            return m_slots[slot];
    }
    return nullptr;
}

std::size_t TNameIndex::Hash(std::string_view name) {
    std::size_t h = name.size();
    for (const char c : name)
        h = h * 31 + static_cast<unsigned char>(c);
    return h % SlotCount;
}

int TNameIndex::LookUp(std::string_view buffer) const {
    if (buffer.empty())
        return NotFoundCode;
    // Rows with arguments end with "(" and match the whole buffer; rows without match the
    // buffer less its terminator. Real names are unique, so at most one of the two matches.
    if (const NameEntry* entry = Find(buffer); entry && entry->argc > 0)
        return entry->code;
    if (const NameEntry* entry = Find(buffer.substr(0, buffer.size() - 1)); entry && entry->argc == 0)
        return entry->code;
    return NotFoundCode;
}

int LookUpBuiltinName(std::string_view buffer) {
    static const TNameIndex index(NameTable());
    return index.LookUp(buffer);
}

} // namespace mirla
