#pragma once
// Pages of file mappings given back after drawing. An image that views a mapped collection file
// brings the pages it is read from, and by the kernel's fault-around whole cached blocks of its
// neighbours, into the process; scrolling through a large collection would leave the whole file
// resident. Once the grid has rendered a page of icons, the blocks their images were read from
// are unmapped again: the pages stay in the page cache, so reading them later costs a minor
// fault and no disk read.

#include <cstdint>
#include <span>
#include <vector>

namespace varnel {

class TAdvancedIcon;

using ByteRanges = std::vector<std::span<const uint8_t>>;

// Adds the bytes of icon's images that view a file's mapping.
void AddMappedImageRanges(const TAdvancedIcon& icon, ByteRanges& ranges);

// Unmaps the resident pages of the aligned blocks that the ranges lie on, for the pages the
// kernel reports as file pages (or shared memory) only: dropping those loses nothing. Private
// memory (the heap, copies of mapped pages) is never touched. Ranges may overlap and come in
// any order.
void ReleaseFilePages(const ByteRanges& ranges);

}  // namespace varnel
