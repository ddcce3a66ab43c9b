#pragma once
// Icon and cursor groups: RT_GROUP_ICON ("14") and RT_GROUP_CURSOR ("12"). The data is a 6-byte
// header (reserved 0, type 1 or 2, count) and 14-byte entries naming their image resources by id.

#include "resources/iconcursorresource.h"

namespace varnel {

class TIconCursorGroupResourceDetails : public TResourceDetails {
 public:
  using TResourceDetails::TResourceDetails;

  // Creates one default image in the container and lists it.
  void InitNew() override;
  // Deletes every image the group lists.
  void BeforeDelete() override;

  int ImageCount() const;
  // The image of entry index: the first image record of the group's image type whose name has
  // the entry's id (any language); null when absent.
  TIconCursorResourceDetails* ImageResource(int index) const;
  bool ContainsImage(const TIconCursorResourceDetails& image) const;
  // Appends an entry describing the image.
  void AddImage(const TIconCursorResourceDetails& image);
  // Rewrites entry index to describe the image (its id and bytes included); nothing happens
  // when the group holds no such entry.
  void ReplaceEntry(int index, const TIconCursorResourceDetails& image);
  // Removes the image's entry; a group left empty deletes itself unless it is deleting itself.
  void RemoveImage(const TIconCursorResourceDetails& image);

  // The type text of the images ("3" for "14").
  std::string ImageType() const;
  bool Deleting = false;

 protected:
  virtual bool IsCursorGroup() const = 0;
  virtual TIconCursorResourceDetails* CreateDefaultImage(TResourceModule& parent,
                                                         const std::string& name) = 0;

 private:
  // Entries actually present, at most the count field.
  int EntriesPresent() const;
  // The 14-byte entry (icon or cursor form) that describes the image record.
  std::vector<uint8_t> EntryOf(const TIconCursorResourceDetails& image) const;
  uint16_t EntryId(int index) const;
  int IndexOfId(uint16_t id) const;
  void RemoveEntry(int index);
  void WriteHeader(int count);
};

class TIconGroupResourceDetails : public TIconCursorGroupResourceDetails {
 public:
  using TIconCursorGroupResourceDetails::TIconCursorGroupResourceDetails;
  static std::string GetBaseType() { return "14"; }

 protected:
  bool IsCursorGroup() const override { return false; }
  TIconCursorResourceDetails* CreateDefaultImage(TResourceModule& parent,
                                                 const std::string& name) override;
};

class TCursorGroupResourceDetails : public TIconCursorGroupResourceDetails {
 public:
  using TIconCursorGroupResourceDetails::TIconCursorGroupResourceDetails;
  static std::string GetBaseType() { return "12"; }

 protected:
  bool IsCursorGroup() const override { return true; }
  TIconCursorResourceDetails* CreateDefaultImage(TResourceModule& parent,
                                                 const std::string& name) override;
};

}  // namespace varnel
