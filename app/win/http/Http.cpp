#include "app/win/http/Http.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <vector>

#include "app/http/Address.h"
#include "app/http/ContentType.h"
#include "app/win/http/DecodeCharset.h"
#include "base/win/InternetHandle.h"
#include "base/win/WideText.h"

namespace lbb::win {

namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/3.0 (compatible; Indy Library)";
constexpr wchar_t kRequestHeaders[] = L"Accept: text/html, */*\r\nAccept-Encoding: identity";
constexpr DWORD kReadChunk = 64 * 1024;
constexpr size_t kMaxReserve = 64 * 1024 * 1024;

// Header values are ASCII; anything else cannot be part of a name we look for.
std::string Narrow(const std::wstring& s) {
  std::string out(s.size(), '?');
  std::transform(s.begin(), s.end(), out.begin(),
                 [](wchar_t c) { return c < 0x80 ? static_cast<char>(c) : '?'; });
  return out;
}

bool IsRedirect(int status) {
  return status >= 300 && status < 400 && status != 304;
}

bool IsSuccess(int status) {
  return status >= 200 && status < 300;
}

// WSAETIMEDOUT: Wine's WinHTTP reports a receive time-out with the socket's own code.
constexpr DWORD kSocketTimedOut = 10060;

bool IsTimeOut(DWORD error) {
  return error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut || error == ERROR_TIMEOUT;
}

// Failures while connecting and sending the request, and while the answer arrives.
FetchStatus ConnectFailure(DWORD error) {
  return IsTimeOut(error) ? FetchStatus::kTimedOut : FetchStatus::kConnectFailed;
}

FetchStatus TransferFailure(DWORD error) {
  return IsTimeOut(error) ? FetchStatus::kTimedOut : FetchStatus::kTransferFailed;
}

// Where a request goes: host, port, scheme and the request target (path and query).
struct Target {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring object;
  bool secure = false;
};

// Splits an address in request form; false when it is not an http or https address with a
// host.
bool CrackTarget(const String& address, Target& target) {
  const std::wstring wide = Wide(address);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts)) return false;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    return false;
  }
  if (parts.lpszHostName == nullptr || parts.dwHostNameLength == 0) return false;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.port = parts.nPort;
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if (parts.lpszUrlPath) target.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) target.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.object.empty() || target.object[0] != L'/') target.object.insert(0, L"/");
  return true;
}

void SetOption(const InternetHandle& handle, DWORD option, DWORD value) {
  WinHttpSetOption(handle.get(), option, &value, sizeof(value));
}

// Value of a decimal header such as Content-Length; -1 when it is absent or not a number.
long long DecimalHeader(const std::wstring& value) {
  if (value.empty() || value.size() > 18) return -1;
  long long n = 0;
  for (wchar_t c : value) {
    if (c < L'0' || c > L'9') return -1;
    n = n * 10 + (c - L'0');
  }
  return n;
}

// One request on a session and connection of its own, and its answer. The handles close in
// the reverse order of their opening.
class Exchange {
 public:
  // Connects, sends the request and reads the head of the answer.
  FetchStatus Start(const Target& target, const HttpOptions& options);
  int Status() const;
  // Value of a header of the answer (a WINHTTP_QUERY_ code); "" when absent.
  std::wstring Header(DWORD query) const;
  // Appends the body to `body`: kOk, or the failure, with the bytes that arrived before it.
  FetchStatus ReadBody(std::string& body) const;

 private:
  bool OpenSession(const HttpOptions& options);
  bool OpenRequest(const Target& target, const HttpOptions& options);

  InternetHandle session_;
  InternetHandle connection_;
  InternetHandle request_;
};

bool Exchange::OpenSession(const HttpOptions& options) {
  session_ = InternetHandle(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                        WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session_) return false;
  WinHttpSetTimeouts(session_.get(), options.connectTimeoutMs, options.connectTimeoutMs,
                     options.sendTimeoutMs, options.receiveTimeoutMs);
  // WinHTTP (and Wine's in particular) would follow redirects itself; they are counted here.
  SetOption(session_, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
  return true;
}

bool Exchange::OpenRequest(const Target& target, const HttpOptions& options) {
  // The target is already in request form: WinHTTP must not escape it again.
  DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
  if (target.secure) flags |= WINHTTP_FLAG_SECURE;
  request_ = InternetHandle(WinHttpOpenRequest(connection_.get(), L"GET", target.object.c_str(),
                                               L"HTTP/1.1", WINHTTP_NO_REFERER,
                                               WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request_) return false;
  // The wait for the answer's head has a time-out of its own, apart from the reads.
  SetOption(request_, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT,
            static_cast<DWORD>(options.receiveTimeoutMs));
  SetOption(request_, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
  // No connection is kept for reuse (Wine pools them across sessions otherwise), and no
  // cookies or credentials are sent.
  SetOption(request_, WINHTTP_OPTION_DISABLE_FEATURE,
            WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_KEEP_ALIVE | WINHTTP_DISABLE_COOKIES |
                WINHTTP_DISABLE_AUTHENTICATION);
  SetOption(request_, WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH);
  if (target.secure && options.ignoreCertErrors) {
    SetOption(request_, WINHTTP_OPTION_SECURITY_FLAGS,
              SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                  SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE);
  }
  return WinHttpAddRequestHeaders(request_.get(), kRequestHeaders, static_cast<DWORD>(-1),
                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
}

FetchStatus Exchange::Start(const Target& target, const HttpOptions& options) {
  if (!OpenSession(options)) return FetchStatus::kConnectFailed;
  connection_ = InternetHandle(WinHttpConnect(session_.get(), target.host.c_str(), target.port, 0));
  if (!connection_) return ConnectFailure(GetLastError());
  if (!OpenRequest(target, options)) return FetchStatus::kConnectFailed;
  if (!WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0)) {
    return ConnectFailure(GetLastError());
  }
  if (!WinHttpReceiveResponse(request_.get(), nullptr)) return TransferFailure(GetLastError());
  return FetchStatus::kOk;
}

int Exchange::Status() const {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return static_cast<int>(status);
}

std::wstring Exchange::Header(DWORD query) const {
  DWORD size = 0;
  WinHttpQueryHeaders(request_.get(), query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                      &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::wstring();
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (!WinHttpQueryHeaders(request_.get(), query, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::wstring();
  }
  value.resize(size / sizeof(wchar_t));
  return value;
}

FetchStatus Exchange::ReadBody(std::string& body) const {
  // A body shorter than its declared length means the connection closed early. Chunked
  // bodies carry their own framing, which WinHTTP checks.
  const bool chunked = !Header(WINHTTP_QUERY_TRANSFER_ENCODING).empty();
  const long long declared = chunked ? -1 : DecimalHeader(Header(WINHTTP_QUERY_CONTENT_LENGTH));
  if (declared > 0) body.reserve(std::min(static_cast<size_t>(declared), kMaxReserve));
  std::vector<char> chunk(kReadChunk);
  for (;;) {
    DWORD got = 0;
    if (!WinHttpReadData(request_.get(), chunk.data(), kReadChunk, &got)) {
      return TransferFailure(GetLastError());
    }
    if (got == 0) break;
    body.append(chunk.data(), got);
  }
  if (declared >= 0 && body.size() < static_cast<unsigned long long>(declared)) {
    return FetchStatus::kTransferFailed;
  }
  return FetchStatus::kOk;
}

// Ends the fetch with the answer `exchange` holds: a success, or a redirect answer that the
// limit made final, gives its body; any other status is an error without body bytes.
void FinishWith(const Exchange& exchange, bool endsByLimit, FetchResult& result) {
  if (!IsSuccess(result.httpStatus) && !endsByLimit) {
    result.status = FetchStatus::kHttpError;
    return;
  }
  result.charset = http::ContentTypeCharset(Narrow(exchange.Header(WINHTTP_QUERY_CONTENT_TYPE)));
  result.status = exchange.ReadBody(result.body);
}

}  // namespace

FetchResult HttpGet(const String& url, const HttpOptions& options) {
  FetchResult result;
  String address = url;
  for (int answers = 1;; ++answers) {
    Target target;
    if (!CrackTarget(http::RequestAddress(address), target)) {
      result.status = FetchStatus::kBadAddress;
      return result;
    }
    Exchange exchange;
    result.status = exchange.Start(target, options);
    if (result.status != FetchStatus::kOk) return result;
    result.httpStatus = exchange.Status();
    String location;
    if (IsRedirect(result.httpStatus)) {
      location = Trim(FromWide(exchange.Header(WINHTTP_QUERY_LOCATION)));
    }
    if (!location.empty() && answers < options.redirectMax) {
      address = http::ResolveReference(address, location);
      ++result.redirects;
      continue;
    }
    FinishWith(exchange, !location.empty(), result);
    return result;
  }
}

String FetchText(const String& url) {
  const FetchResult result = HttpGet(url);
  return result.ok() ? DecodeCharset(result.body, result.charset) : String();
}

std::string FetchBytes(const String& url) {
  return HttpGet(url).body;
}

FetchResult WinPageSource::Fetch(const String& url) {
  return HttpGet(url, options_);
}

String WinPageSource::Decode(const std::string& bytes, const std::string& charset) {
  return DecodeCharset(bytes, charset);
}

}  // namespace lbb::win
