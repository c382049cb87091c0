// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/xiphcomment.h>

#include <exiv2/exiv2.hpp>
#include <string>
#include <utility>
#include <vector>

#include "../renamelist/list_fixture.h"
#include "minimal_jpeg.h"
#include "names/name_tokens.h"
#include "platform/media_dates.h"

namespace zefa::file_facts_test {

// Three MPEG-1 layer III frames of silence at 128 kbit/s and 44.1 kHz: an MP3 to tag.
std::string SilentMp3() {
  std::string frame = std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
  return frame + frame + frame;
}

// A FLAC stream of its marker and its stream information alone (44.1 kHz, stereo, 16 bits).
std::string EmptyFlac() {
  return std::string("fLaC\x80\x00\x00\x22", 8) + std::string("\x10\x00\x10\x00", 4) +
         std::string(6, '\0') + std::string("\x0A\xC4\x42\xF0\x00\x00\x00\x00", 8) +
         std::string(16, '\0');
}

void Tag(TagLib::Tag& tag, const char* artist, const char* album, const char* title,
         unsigned track) {
  tag.setArtist(TagLib::String(artist, TagLib::String::UTF8));
  tag.setAlbum(TagLib::String(album, TagLib::String::UTF8));
  tag.setTitle(TagLib::String(title, TagLib::String::UTF8));
  tag.setTrack(track);
}

class FileFactsTest : public ListFixture {
 protected:
  // A JPEG with these EXIF tags written by exiv2.
  std::string Photo(const std::string& name, std::vector<std::pair<std::string, std::string>> tags,
                    bool side_64 = false) {
    const std::string path = dir.Touch(name, test::MinimalJpeg(1, side_64));
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    for (const auto& [key, value] : tags) image->exifData()[key] = value;
    image->writeMetadata();
    return path;
  }

  std::vector<std::string> Expand(const std::string& common_name) {
    TokenSources sources;
    sources.media = &media;
    const std::optional<CommonNames> names =
        ExpandCommonNames(state.list, common_name, sources, rules);
    std::vector<std::string> out;
    for (int row = 0; row < RowCount(state.list); ++row) out.emplace_back(names->Of(row));
    lacking.clear();
    for (int row = 0; row < RowCount(state.list); ++row) lacking.push_back(names->LackingText(row));
    return out;
  }

  NativeMediaDates media;
  std::vector<std::string> lacking;
};

TEST_F(FileFactsTest, NamesPhotosByTheCameraTheDateAndTheSize) {
  const std::string camera = Photo("a.jpg",
                                   {{"Exif.Image.Make", "Canon"},
                                    {"Exif.Image.Model", "Canon EOS R5 "},
                                    {"Exif.Photo.DateTimeOriginal", "2026:12:08 15:30:12"}},
                                   true);
  const std::string bare = Photo("b.jpg", {});
  const std::string text = dir.Touch("c.txt", "no image");
  for (const std::string& path : {camera, bare, text}) state.list.AppendRow(path, "", "", path);

  EXPECT_EQ(Expand("{メーカー}_{機種}_{撮影日時:%Y%m%d-%H%M}_{幅}x{高さ}"),
            (std::vector<std::string>{"Canon_Canon EOS R5_20261208-1530_64x64", "___1x1", "___x"}));
  EXPECT_EQ(lacking[0], "");
  EXPECT_EQ(
      lacking[1],
      "「{メーカー}」「{機種}」「{撮影日時:%Y%m%d-%H%M}」にあたる情報がないため、空にしました");
  // Only what the name asks for is read: the size alone, from the image's own header.
  EXPECT_EQ(Expand("{幅}"), (std::vector<std::string>{"64", "1", ""}));
}

TEST_F(FileFactsTest, NamesMusicByItsTagsInMp3AndFlac) {
  const std::string mp3 = dir.Touch("01.mp3", SilentMp3());
  {
    TagLib::MPEG::File file(mp3.c_str());
    ASSERT_TRUE(file.isValid());
    Tag(*file.ID3v2Tag(true), "椎名 林檎", "無罪モラトリアム", "歌舞伎町の女王", 3);
    ASSERT_TRUE(file.save());
  }
  const std::string flac = dir.Touch("02.flac", EmptyFlac());
  {
    TagLib::FLAC::File file(flac.c_str());
    ASSERT_TRUE(file.isValid());
    Tag(*file.xiphComment(true), "Bill Evans\nTrio", "Waltz", "My Foolish Heart", 12);
    ASSERT_TRUE(file.save());
  }
  const std::string untagged = dir.Touch("03.mp3", SilentMp3());
  for (const std::string& path : {mp3, flac, untagged}) state.list.AppendRow(path, "", "", path);

  // A line break in a tag is no part of a name: it becomes a blank.
  EXPECT_EQ(Expand("{トラック:2} {アーティスト} - {タイトル} ({アルバム})"),
            (std::vector<std::string>{"03 椎名 林檎 - 歌舞伎町の女王 (無罪モラトリアム)",
                                      "12 Bill Evans Trio - My Foolish Heart (Waltz)", "  -  ()"}));
  EXPECT_EQ(lacking[0], "");
  EXPECT_NE(lacking[2], "");
}

}  // namespace zefa::file_facts_test
