Attribute VB_Name = "Tarq"
' Tarq.bas - TARQ arbitrary-precision arithmetic for VBA (Excel, Word, Access;
' 32-bit and 64-bit Office) and VB6.
'
' Import this module (VBA editor: File > Import File...), put tarq.dll where
' Office finds it, and call the friendly functions below, or the raw exports.
'   - 64-bit Office needs the 64-bit tarq.dll (x64 folder of the release),
'     32-bit Office and VB6 the 32-bit one (x86 folder). The bitness of Office
'     is shown under File > Account > About.
'   - Office looks for "tarq.dll" in its own folder, the Windows folders and
'     the PATH. Simplest: keep the DLLs beside the workbook, in x86\ and x64\,
'     and call TarqLoad ThisWorkbook.Path once before anything else.
'
' Numbers live in the library's store; VBA holds their handles (Long). Every
' export returns a status (0, or the error bits of the failure) unless it
' returns a value; the failures are also collected in the error word that
' TQ_GETGLOBALERROR returns and clears. The friendly functions raise a VBA
' error whose description names the error bits.
'
' Example, in a worksheet cell:  =TarqSqrt("2", 100)
'   1.414213562373095048801688724209698078569671875376948073176679737990732478462107038850387534327641573
'
' How the declarations pass things: 32-bit integers As Long; pointers and
' addresses As LongPtr (Long before VBA7); texts As String, which VBA hands
' to the DLL as an ANSI copy (ByVal: the text in; ByRef: the DLL may replace
' it, as TQ_GET_STRING does); texts returned As String are taken over by VBA.
' TQ_PUTEXT and TQ_GETANY_EXT: the 64-bit DLL's extended float is a Double;
' the 32-bit DLL's is the 80-bit x87 type, which VBA cannot pass, so there it
' goes in as its 64-bit significand (the raw bits of a Currency) and its sign
' and exponent word, and comes back as a Double. TQ_PUTDOUBLE is the usual way.
Option Explicit

' Number kinds.
Public Const TQ_KIND_DECFLOAT As Long = 1
Public Const TQ_KIND_BINFLOAT As Long = 2
Public Const TQ_KIND_BIGINT As Long = 3
Public Const TQ_KIND_FRACTION As Long = 4
Public Const TQ_KIND_TEXT As Long = 5

' Error bits of the statuses and of the global error word.
Public Const TQ_ERR_INVALID As Long = 1
Public Const TQ_ERR_TYPE As Long = 2
Public Const TQ_ERR_KIND As Long = 4
Public Const TQ_ERR_SPECIAL As Long = 8
Public Const TQ_ERR_HANDLE As Long = 16
Public Const TQ_ERR_RANGE As Long = 32
Public Const TQ_ERR_CACHEWRITE As Long = 64
Public Const TQ_ERR_EXPRANGE As Long = 256
Public Const TQ_ERR_NOINVERSE As Long = 512

' Format flags of TQ_GET_STRING: one layout flag plus one radix flag.
Public Const TQ_FORMAT_NORMAL As Long = 1
Public Const TQ_FORMAT_SCIENTIFIC As Long = 2
Public Const TQ_FORMAT_INTMANTISSA As Long = 4
Public Const TQ_FORMAT_DEC As Long = 8
Public Const TQ_FORMAT_HEX As Long = 16
Public Const TQ_FORMAT_BIN As Long = 32

' The VBA error number of a failed friendly call.
Public Const TARQ_VBA_ERROR As Long = vbObjectError + 7100

' The zero-terminated 100-byte text of TQ_PUTSTRING_AZ. The 64-bit DLL takes
' it by reference (how x64 passes a 100-byte value); the 32-bit one takes its
' 25 words by value.
Public Type TqText100
    Bytes(0 To 99) As Byte
End Type

' ---- The exports of tarq.dll, in the order of tarq.h ----
#If VBA7 Then
Public Declare PtrSafe Function TQ_DS_NEW Lib "tarq.dll" (ByVal bytes As String, ByVal byteCount As Long) As LongPtr
Public Declare PtrSafe Sub TQ_DS_FREE Lib "tarq.dll" (ByVal s As LongPtr)
Public Declare PtrSafe Function TQ_DS_LEN Lib "tarq.dll" (ByVal s As LongPtr) As Long
Public Declare PtrSafe Function TQ_ALLOCVAR Lib "tarq.dll" (ByVal kind As Long) As Long
Public Declare PtrSafe Function TQ_UNALLOCVAR Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare PtrSafe Function TQ_COPYVAR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_ABS Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_REVSIGN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_GETGLOBALERROR Lib "tarq.dll" () As Long
Public Declare PtrSafe Function TQ_SETPRECISION Lib "tarq.dll" (ByVal mode As Long, ByVal amount As Long) As Long
Public Declare PtrSafe Function TQ_GETPRECISION Lib "tarq.dll" (ByVal mode As Long) As Long
Public Declare PtrSafe Function TQ_SETOPTION Lib "tarq.dll" (ByVal code As Long, ByVal value As Long) As Long
Public Declare PtrSafe Function TQ_GETOPTION Lib "tarq.dll" (ByVal code As Long) As Long
Public Declare PtrSafe Function TQ_GETPOW10 Lib "tarq.dll" (ByVal n As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_PUT_STRING Lib "tarq.dll" (ByVal text As String, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_GET_STRING Lib "tarq.dll" (ByVal hIn As Long, ByVal fmt As Long, _
        ByVal digits As Long, ByRef text As String) As Long
Public Declare PtrSafe Function TQ_GETSTRINGLENGTH Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare PtrSafe Function TQ_GETSTRING_DS Lib "tarq.dll" (ByVal h As Long) As String
Public Declare PtrSafe Function TQ_GETSTRING_PDS Lib "tarq.dll" (ByVal h As Long) As LongPtr
Public Declare PtrSafe Function TQ_GETSTRING_PAZ Lib "tarq.dll" (ByVal h As Long) As LongPtr
Public Declare PtrSafe Function TQ_GETSTRING_2ADD Lib "tarq.dll" (ByVal h As Long, ByVal dest As LongPtr) As Long
Public Declare PtrSafe Function TQ_PUTSTRING_DS Lib "tarq.dll" (ByVal text As String, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_PUTSTRING_VB Lib "tarq.dll" (ByRef text As String, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_PUTSTRING_PDS Lib "tarq.dll" (ByRef text As String, ByVal hOut As Long) As Long
#If Win64 Then
Public Declare PtrSafe Function TQ_PUTSTRING_AZ Lib "tarq.dll" (ByRef text As TqText100, ByVal hOut As Long) As Long
#Else
Public Declare PtrSafe Function TQ_PUTSTRING_AZ Lib "tarq.dll" (ByVal text00 As Long, ByVal text01 As Long, _
        ByVal text02 As Long, ByVal text03 As Long, ByVal text04 As Long, ByVal text05 As Long, _
        ByVal text06 As Long, ByVal text07 As Long, ByVal text08 As Long, ByVal text09 As Long, _
        ByVal text10 As Long, ByVal text11 As Long, ByVal text12 As Long, ByVal text13 As Long, _
        ByVal text14 As Long, ByVal text15 As Long, ByVal text16 As Long, ByVal text17 As Long, _
        ByVal text18 As Long, ByVal text19 As Long, ByVal text20 As Long, ByVal text21 As Long, _
        ByVal text22 As Long, ByVal text23 As Long, ByVal text24 As Long, ByVal hOut As Long) As Long
#End If
Public Declare PtrSafe Function TQ_PUTSTRING_PAZ Lib "tarq.dll" (ByVal text As String, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_PUTSTRING_FROMADD Lib "tarq.dll" (ByVal addr As LongPtr, _
        ByVal byteCount As Long, ByVal hOut As Long) As Long
#If Win64 Then
Public Declare PtrSafe Function TQ_PUTEXT Lib "tarq.dll" (ByVal x As Double, ByVal hOut As Long) As Long
#Else
Public Declare PtrSafe Function TQ_PUTEXT Lib "tarq.dll" (ByVal xSignificand As Currency, _
        ByVal xSignExponent As Long, ByVal hOut As Long) As Long
#End If
Public Declare PtrSafe Function TQ_PUTDOUBLE Lib "tarq.dll" (ByVal x As Double, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_PUTLONG Lib "tarq.dll" (ByVal x As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_PUTDWORD Lib "tarq.dll" (ByVal x As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_GETANY_EXT Lib "tarq.dll" (ByVal h As Long) As Double
Public Declare PtrSafe Function TQ_GETANY_DOUBLE Lib "tarq.dll" (ByVal h As Long) As Double
Public Declare PtrSafe Function TQ_GETANY_LONG Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare PtrSafe Function TQ_GETANY_DWORD Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare PtrSafe Function TQ_GETANY_DS Lib "tarq.dll" (ByVal h As Long) As String
Public Declare PtrSafe Function TQ_GETANY_S2ADD Lib "tarq.dll" (ByVal h As Long, ByVal dest As LongPtr) As Long
Public Declare PtrSafe Function TQ_COMPARE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_IS_EQ Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_IS_NE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_IS_L Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_IS_LE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_IS_G Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_IS_GE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare PtrSafe Function TQ_ISZERO Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare PtrSafe Function TQ_ISINRANGE Lib "tarq.dll" (ByVal h As Long, ByVal rangeCode As Long) As Long
Public Declare PtrSafe Function TQ_CONVERTDT Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_CONVERTUNITS Lib "tarq.dll" (ByVal code As Long, ByVal hIn As Long, _
        ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_ADD Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_SUB Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_MUL Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_DIV Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_GCD Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_LCM Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_POW Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_INCR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_DECR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_MULBY2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_DIVBY2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_FIX Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_FRAC Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_SQR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_RECIPROCAL Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_SQRT Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_EXP Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_EXP2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_EXP10 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_LOG Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_LOG2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_LOG10 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_SIN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_COS Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_TAN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_ATAN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_ASIN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_DIVINT Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, _
        ByVal hQuot As Long, ByVal hRem As Long) As Long
Public Declare PtrSafe Function TQ_MOD Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_ROOT Lib "tarq.dll" (ByVal a As Long, ByVal n As Long, _
        ByVal wantRemainder As Long, ByVal hRoot As Long, ByVal hRem As Long) As Long
Public Declare PtrSafe Function TQ_POWMOD Lib "tarq.dll" (ByVal base As Long, ByVal exponent As Long, _
        ByVal modulus As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_GETCONST Lib "tarq.dll" (ByVal code As Long, ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_MODINV Lib "tarq.dll" (ByVal a As Long, ByVal modulus As Long, _
        ByVal hOut As Long) As Long
Public Declare PtrSafe Function TQ_EXTEUCLIDALGO Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, _
        ByVal hX As Long, ByVal hY As Long, ByVal hG As Long) As Long
Public Declare PtrSafe Function SHA256_BUFFER Lib "tarq.dll" (ByVal data As LongPtr, ByVal byteCount As Long, _
        ByVal digest32 As LongPtr) As Long
Public Declare PtrSafe Function SHA256_FILE Lib "tarq.dll" (ByRef fileName As String, ByRef digest As String) As Long
Public Declare PtrSafe Function TQ_TEST Lib "tarq.dll" (ByVal unused As Long) As Long
Public Declare PtrSafe Function TQ_TEST2 Lib "tarq.dll" (ByVal unused1 As Long, ByRef operand As String, _
        ByVal unused3 As Long) As Long
#Else
Public Declare Function TQ_DS_NEW Lib "tarq.dll" (ByVal bytes As String, ByVal byteCount As Long) As Long
Public Declare Sub TQ_DS_FREE Lib "tarq.dll" (ByVal s As Long)
Public Declare Function TQ_DS_LEN Lib "tarq.dll" (ByVal s As Long) As Long
Public Declare Function TQ_ALLOCVAR Lib "tarq.dll" (ByVal kind As Long) As Long
Public Declare Function TQ_UNALLOCVAR Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_COPYVAR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_ABS Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_REVSIGN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_GETGLOBALERROR Lib "tarq.dll" () As Long
Public Declare Function TQ_SETPRECISION Lib "tarq.dll" (ByVal mode As Long, ByVal amount As Long) As Long
Public Declare Function TQ_GETPRECISION Lib "tarq.dll" (ByVal mode As Long) As Long
Public Declare Function TQ_SETOPTION Lib "tarq.dll" (ByVal code As Long, ByVal value As Long) As Long
Public Declare Function TQ_GETOPTION Lib "tarq.dll" (ByVal code As Long) As Long
Public Declare Function TQ_GETPOW10 Lib "tarq.dll" (ByVal n As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_PUT_STRING Lib "tarq.dll" (ByVal text As String, ByVal hOut As Long) As Long
Public Declare Function TQ_GET_STRING Lib "tarq.dll" (ByVal hIn As Long, ByVal fmt As Long, _
        ByVal digits As Long, ByRef text As String) As Long
Public Declare Function TQ_GETSTRINGLENGTH Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_GETSTRING_DS Lib "tarq.dll" (ByVal h As Long) As String
Public Declare Function TQ_GETSTRING_PDS Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_GETSTRING_PAZ Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_GETSTRING_2ADD Lib "tarq.dll" (ByVal h As Long, ByVal dest As Long) As Long
Public Declare Function TQ_PUTSTRING_DS Lib "tarq.dll" (ByVal text As String, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTSTRING_VB Lib "tarq.dll" (ByRef text As String, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTSTRING_PDS Lib "tarq.dll" (ByRef text As String, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTSTRING_AZ Lib "tarq.dll" (ByVal text00 As Long, ByVal text01 As Long, _
        ByVal text02 As Long, ByVal text03 As Long, ByVal text04 As Long, ByVal text05 As Long, _
        ByVal text06 As Long, ByVal text07 As Long, ByVal text08 As Long, ByVal text09 As Long, _
        ByVal text10 As Long, ByVal text11 As Long, ByVal text12 As Long, ByVal text13 As Long, _
        ByVal text14 As Long, ByVal text15 As Long, ByVal text16 As Long, ByVal text17 As Long, _
        ByVal text18 As Long, ByVal text19 As Long, ByVal text20 As Long, ByVal text21 As Long, _
        ByVal text22 As Long, ByVal text23 As Long, ByVal text24 As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTSTRING_PAZ Lib "tarq.dll" (ByVal text As String, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTSTRING_FROMADD Lib "tarq.dll" (ByVal addr As Long, ByVal byteCount As Long, _
        ByVal hOut As Long) As Long
Public Declare Function TQ_PUTEXT Lib "tarq.dll" (ByVal xSignificand As Currency, _
        ByVal xSignExponent As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTDOUBLE Lib "tarq.dll" (ByVal x As Double, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTLONG Lib "tarq.dll" (ByVal x As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_PUTDWORD Lib "tarq.dll" (ByVal x As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_GETANY_EXT Lib "tarq.dll" (ByVal h As Long) As Double
Public Declare Function TQ_GETANY_DOUBLE Lib "tarq.dll" (ByVal h As Long) As Double
Public Declare Function TQ_GETANY_LONG Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_GETANY_DWORD Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_GETANY_DS Lib "tarq.dll" (ByVal h As Long) As String
Public Declare Function TQ_GETANY_S2ADD Lib "tarq.dll" (ByVal h As Long, ByVal dest As Long) As Long
Public Declare Function TQ_COMPARE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_IS_EQ Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_IS_NE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_IS_L Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_IS_LE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_IS_G Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_IS_GE Lib "tarq.dll" (ByVal a As Long, ByVal b As Long) As Long
Public Declare Function TQ_ISZERO Lib "tarq.dll" (ByVal h As Long) As Long
Public Declare Function TQ_ISINRANGE Lib "tarq.dll" (ByVal h As Long, ByVal rangeCode As Long) As Long
Public Declare Function TQ_CONVERTDT Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_CONVERTUNITS Lib "tarq.dll" (ByVal code As Long, ByVal hIn As Long, _
        ByVal hOut As Long) As Long
Public Declare Function TQ_ADD Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_SUB Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_MUL Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_DIV Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_GCD Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_LCM Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_POW Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_INCR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_DECR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_MULBY2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_DIVBY2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_FIX Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_FRAC Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_SQR Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_RECIPROCAL Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_SQRT Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_EXP Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_EXP2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_EXP10 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_LOG Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_LOG2 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_LOG10 Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_SIN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_COS Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_TAN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_ATAN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_ASIN Lib "tarq.dll" (ByVal hIn As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_DIVINT Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hQuot As Long, _
        ByVal hRem As Long) As Long
Public Declare Function TQ_MOD Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_ROOT Lib "tarq.dll" (ByVal a As Long, ByVal n As Long, _
        ByVal wantRemainder As Long, ByVal hRoot As Long, ByVal hRem As Long) As Long
Public Declare Function TQ_POWMOD Lib "tarq.dll" (ByVal base As Long, ByVal exponent As Long, _
        ByVal modulus As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_GETCONST Lib "tarq.dll" (ByVal code As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_MODINV Lib "tarq.dll" (ByVal a As Long, ByVal modulus As Long, ByVal hOut As Long) As Long
Public Declare Function TQ_EXTEUCLIDALGO Lib "tarq.dll" (ByVal a As Long, ByVal b As Long, ByVal hX As Long, _
        ByVal hY As Long, ByVal hG As Long) As Long
Public Declare Function SHA256_BUFFER Lib "tarq.dll" (ByVal data As Long, ByVal byteCount As Long, _
        ByVal digest32 As Long) As Long
Public Declare Function SHA256_FILE Lib "tarq.dll" (ByRef fileName As String, ByRef digest As String) As Long
Public Declare Function TQ_TEST Lib "tarq.dll" (ByVal unused As Long) As Long
Public Declare Function TQ_TEST2 Lib "tarq.dll" (ByVal unused1 As Long, ByRef operand As String, _
        ByVal unused3 As Long) As Long
#End If

' ---- Loading the DLL from a folder of your choice ----
#If VBA7 Then
Private Declare PtrSafe Function LoadLibraryW Lib "kernel32" (ByVal path As LongPtr) As LongPtr
#Else
Private Declare Function LoadLibraryW Lib "kernel32" (ByVal path As Long) As Long
#End If

' Loads tarq.dll from folder\x64 in 64-bit Office, folder\x86 otherwise (or
' from folder itself when it holds tarq.dll), so that the declarations above
' find it. Returns False when it could not be loaded.
Public Function TarqLoad(ByVal folder As String) As Boolean
    Dim arch As String, path As String
#If Win64 Then
    arch = "x64"
#Else
    arch = "x86"
#End If
    If Right$(folder, 1) <> "\" Then folder = folder & "\"
    path = folder & arch & "\tarq.dll"
    If Len(Dir$(path)) = 0 Then path = folder & "tarq.dll"
    TarqLoad = LoadLibraryW(StrPtr(path)) <> 0
End Function

' ---- Friendly functions: they raise a VBA error on failure ----

' The names of the error bits in bits, e.g. "invalid operand or text, bad handle".
Public Function TarqErrorText(ByVal bits As Long) As String
    Dim names As Variant, values As Variant, i As Long, s As String
    values = Array(1, 2, 4, 8, 16, 32, 64, 256, 512)
    names = Array("invalid operand or text", "kinds differ or kind unsupported", "bad kind for the parser", _
                  "special result (infinity, NaN)", "bad handle", "value does not fit a native type", _
                  "cache file not written", "exponent out of range", "no modular inverse")
    For i = 0 To UBound(values)
        If (bits And values(i)) <> 0 Then
            If Len(s) > 0 Then s = s & ", "
            s = s & names(i)
        End If
    Next i
    If Len(s) = 0 And bits <> 0 Then s = "error " & bits
    TarqErrorText = s
End Function

' Raises a VBA error when status is not 0; the global error word is cleared.
Public Sub TarqCheck(ByVal status As Long, ByVal what As String)
    Dim bits As Long
    bits = status Or TQ_GETGLOBALERROR()
    If status <> 0 Then
        Err.Raise TARQ_VBA_ERROR, "TARQ", what & ": " & TarqErrorText(bits) & " (error bits " & bits & ")"
    End If
End Sub

' A new variable of the kind holding the number written in text (e.g.
' "1.5", "-2.5*d-7", "&hFF", "1/3" for a fraction). Free it with TarqFree.
Public Function TarqNew(ByVal text As String, Optional ByVal kind As Long = TQ_KIND_DECFLOAT) As Long
    Dim h As Long, status As Long
    h = TQ_ALLOCVAR(kind)
    If h < 0 Then TarqCheck TQ_GETGLOBALERROR() Or TQ_ERR_INVALID, "TarqNew: no variable of kind " & kind
    status = TQ_PUT_STRING(text, h)
    If status <> 0 Then
        TQ_UNALLOCVAR h
        TarqCheck status, "TarqNew(""" & text & """)"
    End If
    TarqNew = h
End Function

' The value of variable h as text: all its digits (digits = 0) or that many
' significant digits, in plain notation unless fmt says otherwise.
Public Function TarqText(ByVal h As Long, Optional ByVal digits As Long = 0, _
                         Optional ByVal fmt As Long = TQ_FORMAT_NORMAL + TQ_FORMAT_DEC) As String
    Dim s As String
    TarqCheck TQ_GET_STRING(h, fmt, digits, s), "TarqText"
    TarqText = Trim$(s)
End Function

' Frees variable h.
Public Sub TarqFree(ByVal h As Long)
    TarqCheck TQ_UNALLOCVAR(h), "TarqFree"
End Sub

' Sets the working precision of the floats to at least digits decimal
' digits; returns the digits in force.
Public Function TarqSetDigits(ByVal digits As Long) As Long
    TarqSetDigits = TQ_SETPRECISION(1, digits)
End Function

' ---- Worked example: usable from a worksheet cell ----

' The square root of x to the given number of significant digits, as text:
' =TarqSqrt("2", 100). On failure the cell shows the reason.
Public Function TarqSqrt(ByVal x As String, Optional ByVal digits As Long = 100) As String
    Dim savedBits As Long, h As Long
    h = -1
    savedBits = TQ_GETPRECISION(2)
    On Error GoTo Failed
    TarqSetDigits digits + 10              ' guard digits for the last one shown
    h = TarqNew(x, TQ_KIND_BINFLOAT)
    TarqCheck TQ_SQRT(h, h), "TarqSqrt"
    TarqSqrt = TarqText(h, digits)
    TarqFree h
    TQ_SETPRECISION 2, savedBits
    Exit Function
Failed:
    TarqSqrt = "#TARQ: " & Err.Description
    If h >= 0 Then TQ_UNALLOCVAR h
    TQ_SETPRECISION 2, savedBits
End Function
