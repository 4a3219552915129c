#pragma once

#include <atomic>
#include <cstddef>

// Memory for the cell values of one row, taken at once. A table of a hundred thousand rows
// holds a value per cell, and as many again in its originals: one allocation per value made
// loading and copying such a table cost more than reading its answer.
//
// Every value has a tag just before it naming the block it lies in, or none for a value made
// on its own (new DBStr), which has memory of its own. Each value in a block holds a
// reference to it, so a value may outlive the row that made it (rows swap their values) and
// the block goes with the last of them. DBVal's operator new and delete come here.
class ValueBlock
{
public:
    // Room for values that need `bytes` in all, counted with slotSize().
    explicit ValueBlock(std::size_t bytes);
    // Gives up the builder's reference: the block stays while values lie in it.
    ~ValueBlock();
    ValueBlock(const ValueBlock &) = delete;
    ValueBlock &operator=(const ValueBlock &) = delete;

    // What a value of `size` bytes takes in a block, its tag included. Values are aligned
    // as pointers are.
    static std::size_t slotSize(std::size_t size);
    // Where the next value of `size` bytes goes, within the room reserved.
    void *nextSlot(std::size_t size);

    // Memory of its own for one value.
    static void *allocateAlone(std::size_t size);
    // The memory of a value that has been destroyed: its own, or its share of a block.
    static void release(void *value);

private:
    struct Header
    {
        std::atomic<int> references;
    };
    struct Tag
    {
        Header *block; // null for a value alone
    };

    static void dropReference(Header *header);

    Header *m_header;
    char *m_next;
    char *m_end;
};
