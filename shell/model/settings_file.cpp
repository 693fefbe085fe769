#include "shell/model/settings_file.h"

#include <algorithm>
#include <new>

#include "shell/model/utf8.h"

namespace tapecount {

namespace {

// One line of the file: its text without the line break, and where the next line starts.
struct Line {
  TextView text;
  std::size_t end;
};

std::vector<Line> SplitLines(TextView file) {
  std::vector<Line> lines;
  for (std::size_t start = 0; start < file.size();) {
    std::size_t lf = file.find(u'\n', start);
    const std::size_t end = lf == TextView::npos ? file.size() : lf + 1;
    TextView text = file.substr(start, (lf == TextView::npos ? file.size() : lf) - start);
    if (!text.empty() && text.back() == u'\r') {
      text.remove_suffix(1);
    }
    lines.push_back({text, end});
    start = end;
  }
  return lines;
}

TextView Trim(TextView text) {
  while (!text.empty() && IsAsciiSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsAsciiSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// "[name]" gives the name; any other line gives nothing.
std::optional<TextView> SectionName(TextView line) {
  line = Trim(line);
  const std::size_t close = line.rfind(u']');
  if (line.empty() || line.front() != u'[' || close == TextView::npos) {
    return std::nullopt;
  }
  return Trim(line.substr(1, close - 1));
}

// "name=value" gives the name; a line without '=' gives nothing.
std::optional<TextView> KeyName(TextView line) {
  const std::size_t equals = line.find(u'=');
  if (equals == TextView::npos) {
    return std::nullopt;
  }
  return Trim(line.substr(0, equals));
}

// The lines [first, last) of the program's section (its header excluded): the first section
// of its name. Nothing when there is none.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<Line>& lines,
                                                               TextView section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<TextView> name = SectionName(lines[i].text);
    if (name && SameIgnoringAsciiCase(*name, section)) {
      std::size_t last = i + 1;
      while (last < lines.size() && !SectionName(lines[last].text)) {
        ++last;
      }
      return std::pair{i + 1, last};
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines,
                                   std::pair<std::size_t, std::size_t> section, TextView key) {
  for (std::size_t i = section.first; i < section.second; ++i) {
    const std::optional<TextView> name = KeyName(lines[i].text);
    if (name && SameIgnoringAsciiCase(*name, key)) {
      return i;
    }
  }
  return std::nullopt;
}

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
  Text text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto high = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    const auto low = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    text += static_cast<char16_t>(high << 8 | low);
  }
  return text;
}

// Ends the text's last line, if it has one without a line break.
void EndLastLine(Text& text) {
  if (!text.empty() && text.back() != u'\n') {
    text += text.back() == u'\r' ? u"\n" : u"\r\n";
  }
}

}  // namespace

bool FlagValueIsOn(TextView value) {
  std::size_t i = 0;
  while (i < value.size() && IsAsciiSpace(value[i])) {
    ++i;
  }
  if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) {
    ++i;
  }
  for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
    if (value[i] != u'0') {
      return true;
    }
  }
  return false;
}

Text DecodeSettingsFile(std::string_view bytes, const Decoders& decoders) {
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    return DecodeUtf16(bytes.substr(2), bytes[0] == '\xFE');
  }
  if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
    if (std::optional<Text> text = DecodeUtf8(bytes)) {
      return *text;
    }
  } else if (!IsAscii(bytes)) {
    if (std::optional<Text> text = DecodeUtf8(bytes)) {
      return *text;
    }
    std::optional<Text> text = decoders.shiftJis(bytes);
    if (text && text->find(kSettingsSection) != Text::npos) {
      return *text;
    }
  }
  if (std::optional<Text> text = decoders.ansi(bytes)) {
    return *text;
  }
  // Byte for byte, as Latin-1: a byte above 0x7F is that character, not a sign-extended one.
  Text text(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), text.begin(),
                 [](char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); });
  return text;
}

std::optional<Text> FindValue(TextView file, TextView section, TextView key) {
  const std::vector<Line> lines = SplitLines(file);
  const auto range = FindSection(lines, section);
  const std::optional<std::size_t> line = range ? FindKey(lines, *range, key) : std::nullopt;
  if (!line) {
    return std::nullopt;
  }
  const TextView text = lines[*line].text;
  TextView value = Trim(text.substr(text.find(u'=') + 1));
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return Text(value.substr(0, 99));
}

StoredModes ReadStoredModes(TextView file) {
  const auto flag = [&](const char16_t* key) {
    return FlagValueIsOn(FindValue(file, kSettingsSection, key).value_or(u"0"));
  };
  return {{flag(kKeyAutoExpand), flag(kKeyAutoMode), flag(kKeyTopmost), flag(kKeyTransparency)},
          flag(kKeySingleInstance)};
}

StoredModes ReadStoredModes(std::string_view bytes, const Decoders& decoders) noexcept {
  try {
    return ReadStoredModes(DecodeSettingsFile(bytes, decoders));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

SettingsValues ValuesToSave(const StoredModes& stored, long background, long text, int charset) {
  const auto flag = [](bool on) { return Text(on ? u"1" : u"0"); };
  const ModeFlags& m = stored.modes;
  return {
      {kKeyAutoExpand, flag(m.autoExpand)},    {kKeyAutoMode, flag(m.autoMode)},
      {kKeyTopmost, flag(m.topmost)},          {kKeySingleInstance, flag(stored.singleInstance)},
      {kKeyTransparency, flag(m.transparent)}, {kKeyBackgroundColour, IntToText(background)},
      {kKeyTextColour, IntToText(text)},       {kKeyFontCharset, IntToText(charset)}};
}

Text ComposeSettingsFile(TextView file, const SettingsValues& values) {
  const std::vector<Line> lines = SplitLines(file);
  const auto section = FindSection(lines, kSettingsSection);
  Text out;
  if (!section) {
    out = file;
    EndLastLine(out);
    out += Text(u"[") + kSettingsSection + u"]\r\n";
    for (const auto& [key, value] : values) {
      out += key + u"=" + value + u"\r\n";
    }
    return out;
  }
  // Each key's first line is replaced where it stands; the missing ones follow the section's
  // last line that is not blank.
  std::vector<const std::pair<Text, Text>*> replacing(lines.size(), nullptr);
  Text missing;
  for (const auto& entry : values) {
    if (const std::optional<std::size_t> line = FindKey(lines, *section, entry.first)) {
      replacing[*line] = &entry;
    } else {
      missing += entry.first + u"=" + entry.second + u"\r\n";
    }
  }
  std::size_t last = section->second;
  while (last > section->first && Trim(lines[last - 1].text).empty()) {
    --last;
  }
  const std::size_t insertAfter = last - 1;  // the header itself when the section is empty
  std::size_t start = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TextView whole = file.substr(start, lines[i].end - start);
    if (replacing[i] != nullptr) {
      const TextView lineBreak = whole.substr(lines[i].text.size());
      out += replacing[i]->first + u"=" + replacing[i]->second;
      out += lineBreak.empty() ? TextView(u"\r\n") : lineBreak;
    } else {
      out += whole;
    }
    if (i == insertAfter && !missing.empty()) {
      EndLastLine(out);
      out += missing;
    }
    start = lines[i].end;
  }
  return out;
}

std::string EncodeUtf16(TextView text) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

bool SaveMayReplace(bool exists, bool readOnly) {
  return !exists || !readOnly;
}

bool SaveTriesAgain(FileError error, unsigned long elapsedMs) {
  return error != FileError::Other && elapsedMs < kSaveWaitMs;
}

std::optional<Text> TemporarySettingsPath(TextView path, unsigned long process, int attempt) {
  if (attempt >= 100) {
    return std::nullopt;
  }
  Text name(path);
  name += u'.';
  AppendInt(name, process);
  name += u'-';
  AppendInt(name, attempt);
  return name;
}

}  // namespace tapecount
