#pragma once
// The event types of the hosted browser control, with the parameters of the
// host-site operations that raise them.

#include "browser/HostInterfaces.h"
#include "platform/core/Component.h"
#include "platform/ui/kernel/Forms.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace browser {

using TDownloadEvent = std::function<HRESULT(IMoniker* pmk, IBindCtx* pbc, std::uint32_t dwBindVerb,
                                             std::int32_t grfBINDF, TBindInfo* pBindInfo,
                                             const std::string& pszHeaders, const std::string& pszRedir,
                                             std::uint32_t uiCP)>;
using TCloseQueryEvent = ui::TCloseQueryEvent;
using TOnDragEnterEvent = std::function<HRESULT(IDataObject* dataObj, std::int32_t grfKeyState, ui::TPoint pt,
                                                std::int32_t& dwEffect, const std::string& Status)>;
using TOnDragLeaveEvent = std::function<HRESULT()>;
using TOnDragOverEvent =
    std::function<HRESULT(std::int32_t grfKeyState, ui::TPoint pt, std::int32_t& dwEffect, const std::string& Status)>;
using TOnDropEvent = TOnDragEnterEvent;
using TEnableModelessEvent = std::function<HRESULT(bool fEnable)>;
using TEvaluateNewWindowEvent =
    std::function<HRESULT(const std::string& pszUrl, const std::string& pszName, const std::string& pszUrlContext,
                          const std::string& pszFeatures, bool fReplace, std::uint32_t dwFlags,
                          std::uint32_t dwUserActionTime)>;
using TFilterDataObjectEvent = std::function<HRESULT(IDataObject* pDO, IDataObject*& ppDORet)>;
using TGetDropTargetEvent = std::function<HRESULT(IDropTarget* pDropTarget, IDropTarget*& ppDropTarget)>;
using TGetExternalEvent = std::function<HRESULT(IDispatch*& ppDispatch)>;
using TGetHostInfoEvent = std::function<HRESULT(TDocHostUIInfo& pInfo)>;
using TGetIDsOfNamesEvent = std::function<HRESULT(const TGUID& IID, std::span<const std::string> Names,
                                                  std::int32_t LocaleID, std::span<std::int32_t> DispIDs)>;
using TGetOptionKeyPathEvent = std::function<HRESULT(std::string& pchKey, std::uint32_t dw)>;
using TGetOverrideKeyPathEvent = TGetOptionKeyPathEvent;
using TGetTypeInfoEvent = std::function<HRESULT(std::int32_t Index, std::int32_t LocaleID, ITypeInfo*& TypeInfo)>;
using TGetTypeInFoCountEvent = std::function<HRESULT(std::int32_t& Count)>;
using THideUIEvent = std::function<HRESULT()>;
using TInvokeEvent = std::function<HRESULT(std::int32_t DispID, const TGUID& IID, std::int32_t LocaleID,
                                           std::uint16_t Flags, TDispParams& Params, TOleVariant* VarResult,
                                           TExcepInfo* ExcepInfo, std::uint32_t* ArgErr)>;
using TMoveEvent = std::function<void(core::TObject* Sender, int X, int Y)>;
using TMoveResizeByEvent = std::function<void(core::TObject* Sender, int cx, int cy)>;
using TOnDocWindowActivateEvent = std::function<HRESULT(bool fActivate)>;
using TOnFrameWindowActivateEvent = std::function<HRESULT(bool fActivate)>;
using TQueryServiceEvent = std::function<HRESULT(const TGUID& rsid, const TGUID& iid, IUnknown*& Obj)>;
using TResizeEvent = std::function<void(core::TObject* Sender, int Width, int Height)>;
using TResizeBorderEvent =
    std::function<HRESULT(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, bool fRameWindow)>;
using TShowContextMenuEvent = std::function<HRESULT(std::uint32_t dwID, const ui::TPoint* ppt,
                                                    IUnknown* pcmdtReserved, IDispatch* pdispReserved)>;
using TShowDialogEvent = std::function<void(core::TObject* Sender, ui::HWND h)>;
using TShowHelpEvent = std::function<HRESULT(ui::HWND HWND, const std::string& pszHelpFile, std::int32_t uCommand,
                                             std::int32_t dwData, ui::TPoint ptMouse, IDispatch*& pDispatchObjectHit)>;
using TShowMessageEvent = std::function<HRESULT(ui::HWND HWND, const std::string& lpstrText,
                                                const std::string& lpstrCaption, std::int32_t dwType,
                                                const std::string& lpstrHelpFile, std::int32_t dwHelpContext,
                                                std::int32_t& plResult)>;
using TShowUIEvent =
    std::function<HRESULT(std::uint32_t dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                          IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc)>;
using TTranslateAcceleratorEvent =
    std::function<HRESULT(const ui::TMsg* lpMsg, const TGUID* pguidCmdGroup, std::uint32_t nCmdID)>;
using TTranslateUrlEvent =
    std::function<HRESULT(std::uint32_t dwTranslate, const std::string& pchURLIn, std::string& ppchURLOut)>;
using TUpdateUIEvent = std::function<HRESULT()>;
using TRefreshEvent = std::function<void(core::TObject* Sender, std::int32_t CmdID, bool& Cancel)>;
using TScriptErrorEvent =
    std::function<void(core::TObject* Sender, const std::string& ErrorLine, const std::string& ErrorCharacter,
                       const std::string& ErrorCode, const std::string& ErrorMessage, const std::string& ErrorUrl,
                       bool& ContinueScript, bool& Showdialog)>;
using TUnloadEvent = core::TNotifyEvent;

} // namespace browser
