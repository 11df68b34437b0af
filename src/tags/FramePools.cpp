#include <new>

#include "tags/FrameFieldTypes.h"
#include "tags/Id3v2Frame.h"

// The objects a directory of files holds by the ten thousand come from class-specific
// allocation functions, so their storage can be pooled.
namespace velmora {

void* Id3v2Frame::operator new(std::size_t size) {
    return ::operator new(size);
}
void Id3v2Frame::operator delete(void* memory, std::size_t size) {
    ::operator delete(memory, size);
}
void* EncodingField::operator new(std::size_t size) {
    return ::operator new(size);
}
void EncodingField::operator delete(void* memory, std::size_t size) {
    ::operator delete(memory, size);
}
void* TextField::operator new(std::size_t size) {
    return ::operator new(size);
}
void TextField::operator delete(void* memory, std::size_t size) {
    ::operator delete(memory, size);
}

}  // namespace velmora
