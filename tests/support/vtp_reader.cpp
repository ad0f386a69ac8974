#include "tests/support/vtp_reader.hpp"

#include <regex>
#include <stdexcept>
#include <zlib.h>

namespace {

std::uint64_t u64_at(const std::string& text, std::size_t at) {
    if (at + 8 > text.size())
        throw std::runtime_error("vtp: header beyond the end");
    std::uint64_t value = 0;
    std::memcpy(&value, text.data() + at, 8);
    return value;
}

std::string inflate_array(const std::string& text, std::size_t at) {
    const std::uint64_t count = u64_at(text, at), block = u64_at(text, at + 8),
                        last = u64_at(text, at + 16);
    std::size_t data = at + 24 + 8 * count;
    std::string out;
    for (std::uint64_t k = 0; k < count; ++k) {
        const std::uint64_t packed = u64_at(text, at + 24 + 8 * k);
        std::string plain(k + 1 == count ? last : block, '\0');
        uLongf size = static_cast<uLongf>(plain.size());
        if (data + packed > text.size() ||
            uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                       reinterpret_cast<const Bytef*>(text.data() + data),
                       static_cast<uLong>(packed)) != Z_OK ||
            size != plain.size())
            throw std::runtime_error("vtp: a block does not inflate");
        out += plain;
        data += packed;
    }
    return out;
}

} // namespace

std::vector<vtp_read_array> read_vtp_arrays(const std::string& text) {
    const std::string mark = "<AppendedData encoding=\"raw\">\n_";
    const std::size_t base = text.find(mark);
    if (text.rfind("<?xml", 0) != 0 || base == std::string::npos)
        throw std::runtime_error("vtp: not an appended VTK XML file");
    const std::string head = text.substr(0, base);
    const std::regex array(
        R"re(<(?:DataArray|Array) type="(\w+)" Name="(\w*)"[^>]* offset="(\d+)"/>)re");
    std::vector<vtp_read_array> out;
    for (std::sregex_iterator it(head.begin(), head.end(), array), end; it != end; ++it)
        out.push_back(
            {(*it)[2], (*it)[1], inflate_array(text, base + mark.size() + std::stoull((*it)[3]))});
    return out;
}

const vtp_read_array& vtp_array_named(const std::vector<vtp_read_array>& arrays,
                                      const std::string& name, int skip) {
    for (const vtp_read_array& a : arrays)
        if (a.name == name && skip-- == 0)
            return a;
    throw std::runtime_error("vtp: no array " + name);
}
