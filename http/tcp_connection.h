#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/stream.h"
#include "http/id_component.h"
#include "http/io_handler.h"
#include "http/managed_buffer.h"
#include "http/simple_buffer.h"
#include "http/stream_reservation.h"

namespace pelmorix {

enum TIdMaxLineAction { maException, maSplit };

// A blocking TCP connection: received bytes collect in the input buffer, from which lines, exact
// counts and streams are taken, each wait bounded by ReadTimeout; sent bytes go out at once or
// collect in a send batch. A peer that closes is noticed on every read and write and reported
// as EIdConnClosedGracefully once no buffered data is left.
class TIdTCPConnection : public TIdComponent {
 public:
  explicit TIdTCPConnection(TIdSocketLayer& layer = TIdSocketLayer::Process());
  ~TIdTCPConnection() override;

  // Settings.
  int ReadTimeout() const { return readTimeout_; }  // ms, 0: no limit
  void SetReadTimeout(int milliseconds) { readTimeout_ = milliseconds; }
  int RecvBufferSize() const { return recvBufferSize_; }  // the size of one receive call
  void SetRecvBufferSize(int size) { recvBufferSize_ = size; }
  int SendBufferSize() const { return sendBufferSize_; }  // the piece size of SendStream
  void SetSendBufferSize(int size) { sendBufferSize_ = size; }
  int MaxLineLength() const { return maxLineLength_; }  // 0: no limit
  void SetMaxLineLength(int length) { maxLineLength_ = length; }
  TIdMaxLineAction MaxLineAction() const { return maxLineAction_; }
  void SetMaxLineAction(TIdMaxLineAction action) { maxLineAction_ = action; }
  bool ASCIIFilter() const { return asciiFilter_; }
  void SetASCIIFilter(bool filter) { asciiFilter_ = filter; }

  // The transport; none until OpenConnection creates one. One assigned from outside is only
  // referenced; assigning replaces (and frees) one the connection created.
  TIdIOHandler* IOHandler() const { return ioHandler_; }
  void SetIOHandler(TIdIOHandler* ioHandler);

  TIdNotifyEvent OnDisconnected;

  // State.
  TIdManagedBuffer& InputBuffer() { return inputBuffer_; }
  bool ClosedByPeer() const { return closedByPeer_; }
  bool LineWasSplit() const { return lineWasSplit_; }
  bool LineTimedOut() const { return lineTimedOut_; }
  bool HasSendBatch() const { return sendBatch_ != nullptr; }

  bool IsConnected();
  void CloseConnection();
  void DropSocket();
  // Notices a close by the peer; raises EIdConnClosedGracefully when closed and the input
  // buffer is empty (or buffered data is to be ignored).
  void CheckPeerClosed(bool raiseIfClosed = true, bool ignoreBuffered = false);
  // Waits at most waitMilliseconds for data or a close; what arrives stays in the input buffer.
  // A wait of 0 only looks at what has already arrived.
  void ProbePeerClosed(bool raiseIfClosed = true, int waitMilliseconds = 1);
  // The only receive path: one receive call of up to RecvBufferSize bytes appended to the input
  // buffer. A time-out of -1 means ReadTimeout. Returns the bytes added, -1 after a time-out
  // that does not raise. The wait for readability comes only when nothing is waiting yet.
  int FillInput(bool raiseIfClosed = true, int timeoutMilliseconds = -1,
                bool raiseOnTimeout = true);

  // An empty terminator means LF; a maximum of -1 means MaxLineLength.
  std::string ReceiveLine(const std::string& terminator = "\n", int timeoutMilliseconds = -1,
                          int maximum = -1);
  void ReceiveExact(void* destination, int64_t count);
  int32_t ReceiveInteger(bool convertFromNetworkOrder = true);
  // A count below 0 without untilClosed reads the count first (ReceiveInteger).
  void ReceiveToStream(TStream& stream, int64_t count = -1, bool untilClosed = false);

  void SendBytes(const void* bytes, int64_t count, bool sendNow = false);
  void SendText(const std::string& text);
  void SendLine(const std::string& text = "");  // CR LF appended
  // size 0 sends to the end of the stream.
  void SendStream(TStream& stream, bool fromStart = true, bool sendCountFirst = false,
                  int64_t size = 0);
  void SendInteger(int32_t value, bool convertToNetworkOrder = true);
  void BeginSendBatch(int threshold = -1);
  void FlushSendBatch(int64_t count = -1);
  void EndSendBatch();
  void DiscardSendBatch();
  void ResetInput();

 protected:
  // Raises OnDisconnected; the HTTP client adds its own step after the event.
  virtual void DoOnDisconnected();
  // Makes the transport the connection owns (FreeTransportOnClose).
  void CreateOwnTransport();
  bool FreeTransportOnClose() const { return ownIOHandler_ != nullptr; }

 private:
  // With onlyWaiting the call takes only bytes already waiting; false when there were none.
  bool ReceiveIntoInput(bool raiseIfClosed, int& received, bool onlyWaiting);
  // Waits until the input buffer holds count bytes, as ReceiveExact does.
  void WaitForInput(int64_t count);
  std::string TakeSplitLine(int maximum);
  void WriteBuffered(TStream& stream, int64_t count, TStreamReservation& reservation);

  int readTimeout_ = 0;
  int recvBufferSize_ = 32768;
  int sendBufferSize_ = 32768;
  int maxLineLength_ = 16384;
  TIdMaxLineAction maxLineAction_ = maException;
  bool asciiFilter_ = false;

  TIdIOHandler* ioHandler_ = nullptr;
  std::unique_ptr<TIdIOHandler> ownIOHandler_;
  TIdManagedBuffer inputBuffer_;
  bool closedByPeer_ = false;
  bool lineWasSplit_ = false;
  bool lineTimedOut_ = false;
  std::unique_ptr<TIdSimpleBuffer> sendBatch_;
  int sendBatchThreshold_ = -1;
};

}  // namespace pelmorix
