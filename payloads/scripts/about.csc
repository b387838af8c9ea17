retval% = messagebox("Varo条码科技(www.varo-tiaoma-keji.example);电话 0571-05550123;0555012399欢迎咨询","关于 Varo条码科技",48)
