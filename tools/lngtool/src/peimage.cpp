#include "peimage.h"
#include <string.h>
#include "base/text.h"

namespace {

const uint16_t kPe32Magic = 0x10B;
const uint16_t kPe32PlusMagic = 0x20B;
const uint32_t kResourceDirectoryIndex = 2;
const uint32_t kHighBit = 0x80000000u;
// A directory with more entries than this is damaged: no real module comes close.
const uint32_t kMaxEntries = 65536;

uint16_t Get16(const unsigned char* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t Get32(const unsigned char* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

struct Section {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

class Image {
public:
    Image(const unsigned char* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
    const unsigned char* At(size_t offset) const { return bytes_ + offset; }

    // File offset of count bytes at a relative virtual address, all inside one
    // section's file data; false when they are not.
    bool Map(uint32_t rva, uint32_t count, size_t* offset) const
    {
        for (const Section& s : sections) {
            if (rva < s.virtualAddress) continue;
            uint32_t within = rva - s.virtualAddress;
            if (within >= s.rawSize || count > s.rawSize - within) continue;
            size_t at = (size_t)s.rawOffset + within;
            if (!Has(at, count)) return false;
            *offset = at;
            return true;
        }
        return false;
    }

    std::vector<Section> sections;

private:
    const unsigned char* bytes_;
    size_t size_;
};

bool Fail(char* error, size_t errorSize, const char* reason)
{
    if (error && errorSize) CopyText(error, errorSize, reason);
    return false;
}

// The resource directory: offsets inside it are relative to its start and must stay
// within the file data of the section that holds it.
class Directory {
public:
    Directory(const Image& image, size_t start, size_t limit) : image_(image), start_(start), limit_(limit) {}

    bool Has(uint32_t offset, uint32_t count) const
    {
        return offset <= limit_ - start_ && count <= limit_ - start_ - offset;
    }
    const unsigned char* At(uint32_t offset) const { return image_.At(start_ + offset); }

    // A name entry's counted UTF-16 text, kept when it is plain ASCII that fits.
    bool ReadName(uint32_t offset, ResourceId* id) const
    {
        id->isNumber = false;
        id->usable = false;
        id->name[0] = '\0';
        if (!Has(offset, 2)) return false;
        uint32_t length = Get16(At(offset));
        if (!Has(offset + 2, length * 2)) return false;
        const unsigned char* p = At(offset + 2);
        if (length >= sizeof id->name) return true;
        for (uint32_t i = 0; i < length; ++i) {
            uint16_t c = Get16(p + 2 * i);
            if (c < 0x20 || c > 0x7E) return true;
            id->name[i] = (char)c;
        }
        id->name[length] = '\0';
        id->usable = true;
        return true;
    }

    // Entry i of the directory at offset: its id and the offset it points to.
    bool ReadEntry(uint32_t directory, uint32_t i, ResourceId* id, uint32_t* target, bool* isDirectory) const
    {
        uint32_t at = directory + 16 + 8 * i;
        if (!Has(at, 8)) return false;
        uint32_t name = Get32(At(at));
        uint32_t data = Get32(At(at + 4));
        if (name & kHighBit) {
            if (!ReadName(name & ~kHighBit, id)) return false;
        } else {
            id->isNumber = true;
            id->number = (uint16_t)name;
            id->name[0] = '\0';
            id->usable = name <= 0xFFFF;
        }
        *isDirectory = (data & kHighBit) != 0;
        *target = data & ~kHighBit;
        return true;
    }

    bool EntryCount(uint32_t directory, uint32_t* count) const
    {
        if (!Has(directory, 16)) return false;
        *count = (uint32_t)Get16(At(directory + 12)) + Get16(At(directory + 14));
        return *count <= kMaxEntries;
    }

private:
    const Image& image_;
    size_t start_;
    size_t limit_;
};

bool ReadSections(Image* image, char* error, size_t errorSize, uint32_t* resourceRva, uint32_t* resourceSize)
{
    if (!image->Has(0, 64) || image->At(0)[0] != 'M' || image->At(0)[1] != 'Z') {
        return Fail(error, errorSize, "not a Windows executable (no MZ header)");
    }
    uint32_t pe = Get32(image->At(0x3C));
    if (!image->Has(pe, 24) || memcmp(image->At(pe), "PE\0\0", 4) != 0) {
        return Fail(error, errorSize, "not a PE image (no PE signature)");
    }
    const unsigned char* coff = image->At(pe + 4);
    uint32_t sectionCount = Get16(coff + 2);
    uint32_t optionalSize = Get16(coff + 16);
    size_t optional = (size_t)pe + 24;
    if (optionalSize < 2 || !image->Has(optional, optionalSize)) {
        return Fail(error, errorSize, "damaged PE image: optional header missing");
    }
    uint16_t magic = Get16(image->At(optional));
    uint32_t countAt, directoriesAt;
    if (magic == kPe32Magic) {
        countAt = 92;
        directoriesAt = 96;
    } else if (magic == kPe32PlusMagic) {
        countAt = 108;
        directoriesAt = 112;
    } else {
        return Fail(error, errorSize, "damaged PE image: unknown optional header kind");
    }
    *resourceRva = 0;
    *resourceSize = 0;
    if (countAt + 4 <= optionalSize) {
        uint32_t directoryCount = Get32(image->At(optional + countAt));
        uint32_t entryAt = directoriesAt + 8 * kResourceDirectoryIndex;
        if (directoryCount > kResourceDirectoryIndex && entryAt + 8 <= optionalSize) {
            *resourceRva = Get32(image->At(optional + entryAt));
            *resourceSize = Get32(image->At(optional + entryAt + 4));
        }
    }
    size_t table = optional + optionalSize;
    if (!image->Has(table, (size_t)sectionCount * 40)) {
        return Fail(error, errorSize, "damaged PE image: section table cut short");
    }
    for (uint32_t i = 0; i < sectionCount; ++i) {
        const unsigned char* s = image->At(table + 40 * i);
        Section section;
        section.virtualAddress = Get32(s + 12);
        section.rawSize = Get32(s + 16);
        section.rawOffset = Get32(s + 20);
        uint32_t virtualSize = Get32(s + 8);
        // Bytes past the virtual size are padding, not part of the section.
        if (virtualSize && virtualSize < section.rawSize) section.rawSize = virtualSize;
        image->sections.push_back(section);
    }
    return true;
}

} // namespace

bool ReadResources(const unsigned char* bytes, size_t size, std::vector<ResourceData>* out,
                   char* error, size_t errorSize)
{
    out->clear();
    Image image(bytes, size);
    uint32_t rva = 0, length = 0;
    if (!ReadSections(&image, error, errorSize, &rva, &length)) return false;
    if (rva == 0 || length == 0) return true;
    size_t start;
    if (!image.Map(rva, 16, &start)) {
        return Fail(error, errorSize, "damaged PE image: resource directory outside the file");
    }
    // The directory may use everything up to the end of its section's file data.
    size_t limit = start;
    for (const Section& s : image.sections) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
            limit = (size_t)s.rawOffset + s.rawSize;
            if (limit > size) limit = size;
            break;
        }
    }
    Directory dir(image, start, limit);
    const char* damaged = "damaged PE image: resource directory";

    // Three fixed levels (type, name, language), so no loop through the tree can recur.
    uint32_t typeCount;
    if (!dir.EntryCount(0, &typeCount)) return Fail(error, errorSize, damaged);
    for (uint32_t t = 0; t < typeCount; ++t) {
        ResourceData item;
        uint32_t names;
        bool isDirectory;
        if (!dir.ReadEntry(0, t, &item.type, &names, &isDirectory) || !isDirectory)
            return Fail(error, errorSize, damaged);
        uint32_t nameCount;
        if (!dir.EntryCount(names, &nameCount)) return Fail(error, errorSize, damaged);
        for (uint32_t n = 0; n < nameCount; ++n) {
            uint32_t languages;
            if (!dir.ReadEntry(names, n, &item.name, &languages, &isDirectory) || !isDirectory)
                return Fail(error, errorSize, damaged);
            uint32_t languageCount;
            if (!dir.EntryCount(languages, &languageCount)) return Fail(error, errorSize, damaged);
            if (languageCount == 0) continue;
            ResourceId language;
            uint32_t dataEntry;
            if (!dir.ReadEntry(languages, 0, &language, &dataEntry, &isDirectory) || isDirectory ||
                !language.isNumber || !dir.Has(dataEntry, 16))
                return Fail(error, errorSize, damaged);
            item.language = language.number;
            uint32_t dataRva = Get32(dir.At(dataEntry));
            item.size = Get32(dir.At(dataEntry + 4));
            size_t dataOffset;
            if (!image.Map(dataRva, item.size, &dataOffset))
                return Fail(error, errorSize, "damaged PE image: resource data outside the file");
            item.bytes = image.At(dataOffset);
            out->push_back(item);
        }
    }
    return true;
}

const ResourceData* FindNamedResource(const std::vector<ResourceData>& resources, uint16_t type,
                                      const char* name)
{
    for (const ResourceData& r : resources) {
        if (!r.type.isNumber || r.type.number != type) continue;
        // Resource names are stored in uppercase; the loader compares them so.
        if (!r.name.isNumber && r.name.usable && EqualTextNoCaseAscii(r.name.name, name)) return &r;
    }
    return nullptr;
}
