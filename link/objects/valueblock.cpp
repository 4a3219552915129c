#include "valueblock_p.h"

#include <QtGlobal>

#include <new>

namespace {

// Cell values hold pointers and 64-bit numbers at most.
constexpr std::size_t Alignment = alignof(void *);

constexpr std::size_t aligned(std::size_t size)
{
    return (size + Alignment - 1) / Alignment * Alignment;
}

} // namespace

ValueBlock::ValueBlock(std::size_t bytes)
{
    const std::size_t headerSize = aligned(sizeof(Header));
    char *memory = static_cast<char *>(::operator new(headerSize + bytes));
    m_header = new (memory) Header{{1}};
    m_next = memory + headerSize;
    m_end = m_next + bytes;
}

ValueBlock::~ValueBlock()
{
    dropReference(m_header);
}

std::size_t ValueBlock::slotSize(std::size_t size)
{
    return aligned(sizeof(Tag)) + aligned(size);
}

void *ValueBlock::nextSlot(std::size_t size)
{
    Q_ASSERT(std::size_t(m_end - m_next) >= slotSize(size));
    new (m_next) Tag{m_header};
    void *value = m_next + aligned(sizeof(Tag));
    m_next += slotSize(size);
    m_header->references.fetch_add(1, std::memory_order_relaxed);
    return value;
}

void *ValueBlock::allocateAlone(std::size_t size)
{
    char *memory = static_cast<char *>(::operator new(slotSize(size)));
    new (memory) Tag{nullptr};
    return memory + aligned(sizeof(Tag));
}

void ValueBlock::release(void *value)
{
    if (!value)
        return;
    char *tagAt = static_cast<char *>(value) - aligned(sizeof(Tag));
    Header *block = reinterpret_cast<Tag *>(tagAt)->block;
    if (block)
        dropReference(block);
    else
        ::operator delete(tagAt);
}

void ValueBlock::dropReference(Header *header)
{
    if (header->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        header->~Header();
        ::operator delete(header);
    }
}
