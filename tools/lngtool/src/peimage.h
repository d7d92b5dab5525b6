// The resource section of a Windows executable or DLL (PE32 and PE32+), read from the
// file's bytes. Byte-level: no windows.h here, so it builds for the host as well.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <vector>

enum { kResourceNameCapacity = 64 };

// A resource type or name: a number, or a text (stored as the loader compares it, in
// ASCII; a name with other characters, or too long for the buffer, is marked unusable).
struct ResourceId {
    bool isNumber;
    uint16_t number;
    char name[kResourceNameCapacity];
    bool usable;
};

struct ResourceData {
    ResourceId type;
    ResourceId name;
    uint16_t language;
    const unsigned char* bytes;  // inside the image
    uint32_t size;
};

// Reads every resource of the image into out, in the order of the resource directory
// (for each type and name only the first language). False with a reason in error when
// the bytes are not a PE image or its resource directory is damaged; an image without
// resources gives true and an empty list.
bool ReadResources(const unsigned char* image, size_t size, std::vector<ResourceData>* out,
                   char* error, size_t errorSize);

// The resource of that type number whose name is the text name, or null.
const ResourceData* FindNamedResource(const std::vector<ResourceData>& resources,
                                      uint16_t type, const char* name);
