// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>

#include "cups_library.h"
#include "printer_system.h"

namespace lvx {

struct CupsPrinterSystem::Connection {
  const CupsLibrary& cups;
  http_t* http = nullptr;
  std::string server;  // as users name it: "host:port" or the socket's path

  Connection(const CupsLibrary& library, http_t* connection, std::string name)
      : cups(library), http(connection), server(std::move(name)) {}
  ~Connection() { cups.Close(http); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // After a request: why the scheduler could not be asked (it went away,
  // stopped answering, cannot serve or turns this user away), else empty.
  // A scheduler's own "no such thing" is an answer.
  std::string Failure() const {
    const ipp_status_t status = cups.LastError();
    if (status >= IPP_STATUS_ERROR_INTERNAL)
      return "the print server " + server + " did not answer";
    if (status == IPP_STATUS_ERROR_FORBIDDEN || status == IPP_STATUS_ERROR_NOT_AUTHENTICATED ||
        status == IPP_STATUS_ERROR_NOT_AUTHORIZED) {
      return "the print server " + server + " turned the request away: " + cups.LastErrorString();
    }
    return {};
  }
};

namespace {

// cupsAddOption, but an option already set stays.
int KeepOrAdd(const CupsLibrary& cups, const char* name, const char* value, int count,
              cups_option_t** options) {
  if (cups.GetOption(name, count, *options) != nullptr) return count;
  return cups.AddOption(name, value, count, options);
}

// The device name of a destination: the queue, and "/instance" for an
// instance of it, as the other programs list printers.
std::string DeviceName(const cups_dest_t& dest) {
  std::string name = dest.name;
  if (dest.instance != nullptr) {
    name += '/';
    name += dest.instance;
  }
  return name;
}

// A device name's queue and instance ("" for none).
std::pair<std::string, std::string> QueueOf(const std::string& name) {
  const auto slash = name.find('/');
  if (slash == std::string::npos) return {name, {}};
  return {name.substr(0, slash), name.substr(slash + 1)};
}

std::string ServerName(const CupsLibrary& cups) {
  const char* host = cups.Server();
  std::string name = host != nullptr ? host : "";
  if (!name.empty() && name.front() == '/') return name;
  return name + ':' + std::to_string(cups.Port());
}

// Hundredths of a millimetre as IPP gives them; nothing when absent or
// beyond any sheet (10 m).
std::optional<double> Millimetres(const CupsLibrary& cups, ipp_t* collection, const char* name) {
  ipp_attribute_t* attribute = cups.FindAttribute(collection, name, IPP_TAG_INTEGER);
  if (attribute == nullptr) return std::nullopt;
  const int value = cups.GetInteger(attribute, 0);
  if (value < 0 || value > 1000000) return std::nullopt;
  return value / 100.0;
}

// The paper of a media-col collection: its size, and its margins when they
// leave a printable area. Nothing without a usable size.
std::optional<SheetPaper> PaperOfCollection(const CupsLibrary& cups, ipp_t* media) {
  ipp_attribute_t* sizeAttribute =
      cups.FindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION);
  ipp_t* size = sizeAttribute == nullptr ? nullptr : cups.GetCollection(sizeAttribute, 0);
  if (size == nullptr) return std::nullopt;
  const auto width = Millimetres(cups, size, "x-dimension");
  const auto height = Millimetres(cups, size, "y-dimension");
  if (!width || !height || *width < 1.0 || *height < 1.0) return std::nullopt;
  SheetPaper paper;
  paper.width = *width;
  paper.height = *height;
  const auto left = Millimetres(cups, media, "media-left-margin");
  const auto top = Millimetres(cups, media, "media-top-margin");
  const auto right = Millimetres(cups, media, "media-right-margin");
  const auto bottom = Millimetres(cups, media, "media-bottom-margin");
  if (left && top && right && bottom && *left + *right < *width && *top + *bottom < *height) {
    paper.left = *left;
    paper.top = *top;
    paper.right = *right;
    paper.bottom = *bottom;
  }
  return paper;
}

// The size that a media name spells: a PWG name, a legacy or a PPD one
// ("A4", "Letter"); nothing for a name CUPS does not know.
const pwg_media_t* MediaNamed(const CupsLibrary& cups, const std::string& name) {
  if (name.empty()) return nullptr;
  const pwg_media_t* media = cups.MediaForPwg(name.c_str());
  if (media == nullptr) media = cups.MediaForLegacy(name.c_str());
  if (media == nullptr) media = cups.MediaForPpd(name.c_str());
  if (media == nullptr || media->pwg == nullptr || media->width <= 0 || media->length <= 0) {
    return nullptr;
  }
  return media;
}

// The paper `media` with the margins the printer lists for its size in
// media-col-database: those of a bordered entry where there is one (a
// borderless twin lists none), else none.
SheetPaper PaperInDatabase(const CupsLibrary& cups, ipp_t* attributes, const pwg_media_t& media) {
  SheetPaper paper;
  paper.media = media.pwg;
  paper.width = media.width / 100.0;
  paper.height = media.length / 100.0;
  ipp_attribute_t* database =
      cups.FindAttribute(attributes, "media-col-database", IPP_TAG_BEGIN_COLLECTION);
  const int count = database == nullptr ? 0 : cups.GetCount(database);
  for (int i = 0; i < count; ++i) {
    const auto entry = PaperOfCollection(cups, cups.GetCollection(database, i));
    // Sizes from a PPD's points differ from the name's by a fraction of a millimetre.
    if (!entry || std::abs(entry->width - paper.width) > 1.0 ||
        std::abs(entry->height - paper.height) > 1.0) {
      continue;
    }
    if (entry->left + entry->top + entry->right + entry->bottom > 0.0) {
      paper.left = entry->left;
      paper.top = entry->top;
      paper.right = entry->right;
      paper.bottom = entry->bottom;
      break;
    }
  }
  return paper;
}

// The paper of a printer's attributes. `chosen` is the media the user chose
// for the queue with lpoptions, if any, else the printer's own default:
// media-col-default, else the size that the name in media-default spells;
// A4 from the corner without either.
SheetPaper PaperOfPrinter(const CupsLibrary& cups, ipp_t* attributes, const std::string& chosen) {
  ipp_attribute_t* nameAttribute = cups.FindAttribute(attributes, "media-default", IPP_TAG_ZERO);
  const char* name = nameAttribute == nullptr ? nullptr : cups.GetString(nameAttribute, 0, nullptr);
  const pwg_media_t* wanted = MediaNamed(cups, chosen);
  if (wanted != nullptr && (name == nullptr || std::string(wanted->pwg) != name)) {
    return PaperInDatabase(cups, attributes, *wanted);
  }
  ipp_attribute_t* colAttribute =
      cups.FindAttribute(attributes, "media-col-default", IPP_TAG_BEGIN_COLLECTION);
  ipp_t* col = colAttribute == nullptr ? nullptr : cups.GetCollection(colAttribute, 0);
  std::optional<SheetPaper> paper = col == nullptr ? std::nullopt : PaperOfCollection(cups, col);
  if (paper) {
    // Without a name the queue's default media is left as it is.
    paper->media = name != nullptr ? name : "";
    return *paper;
  }
  const pwg_media_t* media = name == nullptr ? nullptr : MediaNamed(cups, name);
  if (media == nullptr) return SheetPaper::A4();
  SheetPaper named;
  named.media = media->pwg;
  named.width = media->width / 100.0;
  named.height = media->length / 100.0;
  return named;
}

}  // namespace

CupsPrinterSystem::CupsPrinterSystem(std::chrono::milliseconds timeout) : timeout_(timeout) {}

CupsPrinterSystem::~CupsPrinterSystem() = default;

CupsPrinterSystem::Connection* CupsPrinterSystem::Connect(std::string& error) {
  if (connection_) return connection_.get();
  const CupsLibrary* cups = CupsLibrary::Get();
  if (cups == nullptr) return nullptr;
  const std::string server = ServerName(*cups);
  http_t* http = cups->Connect2(cups->Server(), cups->Port(), nullptr, AF_UNSPEC,
                                cups->Encryption(), 1, static_cast<int>(timeout_.count()), nullptr);
  // The library keeps no useful reason (a missing socket reads "Host is
  // down"): the server's name is what helps.
  if (http == nullptr) {
    error = "cannot reach the print server " + server;
    return nullptr;
  }
  cups->SetTimeout(http, static_cast<double>(timeout_.count()) / 1000.0, nullptr, nullptr);
  connection_ = std::make_unique<Connection>(*cups, http, server);
  return connection_.get();
}

PrinterSystem::Printers CupsPrinterSystem::ListPrinters() {
  Printers printers;
  Connection* connection = Connect(printers.error);
  if (connection == nullptr) return printers;
  const CupsLibrary& cups = connection->cups;
  cups_dest_t* dests = nullptr;
  const int count = cups.GetDests2(connection->http, &dests);
  for (int i = 0; i < count; ++i) {
    printers.names.push_back(DeviceName(dests[i]));
    if (dests[i].is_default && printers.defaultName.empty()) {
      printers.defaultName = printers.names.back();
    }
  }
  cups.FreeDests(count, dests);
  if (count == 0) printers.error = connection->Failure();
  return printers;
}

PrinterSystem::Paper CupsPrinterSystem::DefaultPaper(const std::string& name) {
  Paper answer;
  Connection* connection = Connect(answer.error);
  if (connection == nullptr) return answer;
  const CupsLibrary& cups = connection->cups;
  const auto [queue, instance] = QueueOf(name);
  cups_dest_t* dest = cups.GetNamedDest(connection->http, queue.c_str(),
                                        instance.empty() ? nullptr : instance.c_str());
  if (dest == nullptr) {
    answer.error = connection->Failure();
    return answer;
  }
  const char* uri = cups.GetOption("printer-uri-supported", dest->num_options, dest->options);
  const std::string printerUri = uri != nullptr ? uri : "ipp://localhost/printers/" + queue;
  // The media of the user's lpoptions for the queue; a list may add a tray.
  const char* media = cups.GetOption("media", dest->num_options, dest->options);
  std::string chosen = media != nullptr ? media : "";
  chosen = chosen.substr(0, chosen.find(','));
  cups.FreeDests(1, dest);

  ipp_t* request = cups.NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  cups.AddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri.c_str());
  static const char* const kWanted[] = {"media-default", "media-col-default", "media-col-database"};
  cups.AddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  kWanted);
  ipp_t* response = cups.DoRequest(connection->http, request, "/");
  if (response == nullptr) {
    answer.error = connection->Failure();
    return answer;
  }
  answer.paper = PaperOfPrinter(cups, response, chosen);
  cups.Delete(response);
  return answer;
}

PrinterSystem::Submission CupsPrinterSystem::SubmitPdf(const std::string& name,
                                                       const std::string& path,
                                                       const std::string& title,
                                                       const SheetPaper& paper) {
  Submission submission;
  Connection* connection = Connect(submission.error);
  if (connection == nullptr) {
    if (submission.error.empty()) submission.error = "the CUPS library cannot be loaded";
    return submission;
  }
  const CupsLibrary& cups = connection->cups;
  const auto [queue, instance] = QueueOf(name);
  cups_dest_t* dest = cups.GetNamedDest(connection->http, queue.c_str(),
                                        instance.empty() ? nullptr : instance.c_str());
  cups_option_t* options = nullptr;
  // Copies are printed into the file, collated; the queue must not multiply them.
  int count = cups.AddOption("copies", "1", 0, &options);
  // The pages are laid out for this paper's printable area already.
  if (!paper.media.empty()) count = cups.AddOption("media", paper.media.c_str(), count, &options);
  count = cups.AddOption("print-scaling", "none", count, &options);
  count = cups.AddOption("fit-to-page", "false", count, &options);
  if (dest != nullptr) {
    for (int i = 0; i < dest->num_options; ++i) {
      count = KeepOrAdd(cups, dest->options[i].name, dest->options[i].value, count, &options);
    }
  }
  const int job =
      cups.PrintFile2(connection->http, queue.c_str(), path.c_str(), title.c_str(), count, options);
  cups.FreeOptions(count, options);
  if (dest != nullptr) cups.FreeDests(1, dest);
  if (job <= 0) {
    submission.error = cups.LastErrorString();
    return submission;
  }
  submission.ok = true;
  submission.jobId = job;
  return submission;
}

}  // namespace lvx
